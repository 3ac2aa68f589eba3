// What each command does, registered by id: a menu item is enabled exactly when its command
// has a handler here, so a new feature only registers its handlers.
#pragma once

#include <functional>
#include <map>

#include "commands/command_ids.h"

namespace tessary {

class CommandHandlers {
 public:
  using Handler = std::function<void()>;

  // Registers the handler of `id`, replacing an earlier one. An empty handler removes the
  // registration, so that an item that would do nothing is never enabled.
  void Register(CommandId id, Handler handler);
  [[nodiscard]] bool Registered(CommandId id) const;
  // Runs the handler of `id`; nothing happens for an id without one.
  void Run(CommandId id) const;

 private:
  std::map<CommandId, Handler> handlers_;
};

}  // namespace tessary
