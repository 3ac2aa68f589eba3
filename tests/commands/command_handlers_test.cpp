// The command handler registry: what is registered runs, and nothing else counts as registered.
#include "commands/command_handlers.h"

#include <gtest/gtest.h>

#include <vector>

namespace tessary {
namespace {

TEST(CommandHandlers, RegisteredExactlyWhileAHandlerIsThere) {
  CommandHandlers handlers;
  std::vector<int> ran;
  EXPECT_FALSE(handlers.Registered(CommandId::MenuOpen));
  handlers.Run(CommandId::MenuOpen);  // nothing registered: nothing happens
  handlers.Register(CommandId::MenuOpen, [&ran] { ran.push_back(1); });
  EXPECT_TRUE(handlers.Registered(CommandId::MenuOpen));
  EXPECT_FALSE(handlers.Registered(CommandId::MenuSave));
  handlers.Run(CommandId::MenuOpen);
  handlers.Run(CommandId::MenuSave);
  EXPECT_EQ(ran, std::vector<int>{1});

  // A second registration replaces the first; an empty one withdraws it.
  handlers.Register(CommandId::MenuOpen, [&ran] { ran.push_back(2); });
  handlers.Run(CommandId::MenuOpen);
  EXPECT_EQ(ran, (std::vector<int>{1, 2}));
  handlers.Register(CommandId::MenuOpen, nullptr);
  EXPECT_FALSE(handlers.Registered(CommandId::MenuOpen));
  handlers.Register(CommandId::MenuSave, CommandHandlers::Handler{});
  EXPECT_FALSE(handlers.Registered(CommandId::MenuSave));
}

TEST(CommandHandlers, AHandlerMayReplaceOrRemoveItselfWhileRunning) {
  CommandHandlers handlers;
  int runs = 0;
  std::vector<int> captured{7, 8, 9};  // state the replaced handler still reads after the swap
  handlers.Register(CommandId::MenuClose, [&handlers, &runs, captured] {
    handlers.Register(CommandId::MenuClose, [&runs] { runs += 100; });
    runs += static_cast<int>(captured.size());
  });
  handlers.Run(CommandId::MenuClose);
  EXPECT_EQ(runs, 3);
  handlers.Run(CommandId::MenuClose);
  EXPECT_EQ(runs, 103);

  handlers.Register(CommandId::MenuClose, [&handlers, captured] {
    handlers.Register(CommandId::MenuClose, nullptr);
    EXPECT_EQ(captured.back(), 9);
  });
  handlers.Run(CommandId::MenuClose);
  EXPECT_FALSE(handlers.Registered(CommandId::MenuClose));
}

}  // namespace
}  // namespace tessary
