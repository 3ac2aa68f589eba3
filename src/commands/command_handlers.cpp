// The registry of command handlers.
#include "commands/command_handlers.h"

#include <utility>

namespace tessary {

void CommandHandlers::Register(CommandId id, Handler handler) {
  if (handler)
    handlers_[id] = std::move(handler);
  else
    handlers_.erase(id);
}

bool CommandHandlers::Registered(CommandId id) const {
  return handlers_.contains(id);
}

void CommandHandlers::Run(CommandId id) const {
  auto it = handlers_.find(id);
  if (it == handlers_.end()) return;
  // A copy runs, so a handler may replace or remove its own registration while it runs.
  const Handler handler = it->second;
  handler();
}

}  // namespace tessary
