#include "FakeCommand.h"

#include "cli/CommandsDescription.h"

#include <gtest/gtest.h>

namespace {

std::shared_ptr<FakeCommand> command(const std::string& name, CommandCategory category, const std::string& text)
{
    return std::make_shared<FakeCommand>(name, category, text);
}

TEST(CommandsDescriptionTest, CategoriesInOrderCommandsSortedByName)
{
    CommandsDescription commands;
    commands.addCommand(command("version", CommandCategory::Info, "Show version."));
    commands.addCommand(command("set-label", CommandCategory::TokenManagement, "Set label."));
    commands.addCommand(command("info", CommandCategory::Info, "Show info."));
    EXPECT_EQ(commands.serialize(20), "Info commands:\n"
                                      "  info" +
                                          std::string(14, ' ') +
                                          "Show info.\n"
                                          "  version" +
                                          std::string(11, ' ') +
                                          "Show version.\n"
                                          "\n"
                                          "Token management commands:\n"
                                          "  set-label" +
                                          std::string(9, ' ') +
                                          "Set label.\n"
                                          "\n");
    EXPECT_EQ(commands.getCommandNames(), (std::vector<std::string>{"info", "set-label", "version"}));
    EXPECT_EQ(commands.getCommand("info")->getCommandInfo().commandDescription().english, "Show info.");
    EXPECT_EQ(commands.getCommand("Info"), nullptr);
}

TEST(CommandsDescriptionTest, SameNameReplacesLookupButStaysListed)
{
    CommandsDescription commands;
    commands.addCommand(command("a", CommandCategory::Info, "First."));
    commands.addCommand(command("a", CommandCategory::Info, "Second."));
    EXPECT_EQ(commands.getCommand("a")->getCommandInfo().commandDescription().english, "Second.");
    EXPECT_EQ(commands.serialize(6), "Info commands:\n  a   First.\n  a   Second.\n\n");
}

TEST(CommandsDescriptionTest, LongNamesBreakAndDescriptionsWrapAtTheColumn)
{
    CommandsDescription commands;
    // width 70 leaves 10 characters per line.
    commands.addCommand(command("name-of-sixty-eight-characters-" + std::string(37, 'x'), CommandCategory::Info,
                                "aaaa bbbb cccc dddddddddddddddd"));
    const std::string column(70, ' ');
    EXPECT_EQ(commands.serialize(70), "Info commands:\n"
                                      "  name-of-sixty-eight-characters-" +
                                          std::string(37, 'x') + "\n" + column + "aaaa bbbb \n" + column + "cccc \n" +
                                          column + "ddddddddddd\n" + column +
                                          "ddddd\n"
                                          "\n");
}

TEST(CommandsDescriptionTest, TextOfExactlyTheRoomBreaksAtItsLastBlank)
{
    CommandsDescription commands;
    commands.addCommand(command("c", CommandCategory::MvaManagement, "abcd efghi"));
    EXPECT_EQ(commands.serialize(70),
              "MVA management commands:\n  c" + std::string(67, ' ') + "abcd \n" + std::string(70, ' ') + "efghi\n\n");
}

} // namespace
