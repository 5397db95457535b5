// The block of the field's cells that a search around a firefly looks at. Internal to sim/:
// only the view cone and the steering searches include it.
#pragma once

// The columns c0 to c1 and rows r0 to r1 of the field's cells.
struct CellBox {
    int c0, c1, r0, r1;
};

// The cells that may hold slots within `reach` pixels of (x, y), a position on the field.
CellBox cells_within(float x, float y, double reach);
