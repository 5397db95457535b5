#include <gtest/gtest.h>

#include <set>
#include <string>

#include "sim/world.h"

// The field table against the record it describes: each position once, at its member's place
// in Swarm; fields 1 to 12 first, each with a name of its own and a panel line; the spare
// fields with neither.
TEST(SwarmFields, TableDescribesTheRecord) {
    std::set<int> positions, editable;
    std::set<std::string> names;
    const Swarm s{};
    for (int i = 0; i < SWARM_FIELDS; ++i) {
        const SwarmField& f = SWARM_FIELD_TABLE[i];
        ASSERT_TRUE(f.position >= 0 && f.position < SWARM_FIELDS) << i;
        EXPECT_TRUE(positions.insert(f.position).second) << "position " << f.position << " twice";
        const char* place = reinterpret_cast<const char*>(&(s.*f.member));
        EXPECT_EQ(place - reinterpret_cast<const char*>(&s), f.position * 4) << f.position;
        if (i >= EDITABLE_FIELDS) {
            EXPECT_TRUE(f.name == nullptr && f.panel_format == nullptr) << f.position;
            continue;
        }
        ASSERT_TRUE(f.name != nullptr && f.panel_format != nullptr) << f.position;
        editable.insert(f.position);
        EXPECT_TRUE(names.insert(f.name).second) << f.name << " twice";
        // The panel formats the value, after the swarm number on line 0, with nothing else.
        const std::string format = f.panel_format;
        auto count = [&](const char* what) {
            size_t n = 0;
            for (size_t at = format.find(what); at != std::string::npos;
                 at = format.find(what, at + 1))
                ++n;
            return n;
        };
        EXPECT_EQ(count("%"), i == 0 ? 2u : 1u) << format;
        EXPECT_EQ(count("%d"), count("%")) << format;
    }
    EXPECT_EQ(editable, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
}
