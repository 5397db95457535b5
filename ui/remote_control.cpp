#include "ui/remote_control.h"

#include "sim/world.h"
#include "ui/file_requests.h"
#include "ui/interface_state.h"

void act_on_remote(const RemoteCommand* commands, int count) {
    for (int i = 0; i < count; ++i) {
        const RemoteCommand& c = commands[i];
        if (!is_valid_remote(c)) continue;
        switch (c.kind) {
            case RemoteKind::FIELD:
                swarms[c.swarm].*SWARM_FIELD_TABLE[c.field].member = c.value;
                break;
            case RemoteKind::PAUSE:
                paused = c.value;
                if (paused != 0) set_status("pause");
                break;
            case RemoteKind::PRESET:
                file_requests.presets = 1u << c.value;
                serve_file_requests(FileMoment::KEYS);
                break;
            case RemoteKind::RANDOM:
                file_requests.random = true;
                serve_file_requests(FileMoment::KEYS);
                break;
        }
    }
}
