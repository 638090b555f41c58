// The drawing module's entry point.
#include "drawing_module.h"

#include <cstdio>
#include <string_view>
#include <utility>

#include "gui_application.h"

extern "C" __attribute__((visibility("default"))) int brindle_run_drawing(
    const brindle::Command* command, brindle::Arguments* args) {
    static constexpr std::pair<std::string_view, int (*)(brindle::Arguments&)> kCommands[] = {
        {"pictures", brindle::runPictures},
        {"render", brindle::runRender},
        {"text", brindle::runText},
    };
    for (const auto& [name, run] : kCommands) {
        if (name == command->name) {
            brindle::GuiScope gui;
            return brindle::runCommand(*command, *args, run);
        }
    }
    std::fprintf(stderr, "brindle: the drawing module has no command '%.*s'\n",
                 int(command->name.size()), command->name.data());
    return brindle::kFailure;
}
