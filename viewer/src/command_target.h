// What a window that answers commands offers the main window: the state of a command and the
// running of it. The active page view is asked first, then the main window itself.
#pragma once

#include <optional>

#include "command_id.h"

namespace viewer {

struct CommandState {
    bool enabled = true;
    bool checked = false;
};

class CommandTarget {
  public:
    virtual ~CommandTarget() = default;
    /// The state of `id`, or none when this target does not answer it.
    virtual std::optional<CommandState> commandState(CommandId id) const = 0;
    /// Runs `id`, which commandState() answered.
    virtual void runCommand(CommandId id) = 0;
};

}  // namespace viewer
