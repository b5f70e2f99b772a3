// The prompt at a terminal: the lines typed there are kept between sessions in
// $XDG_STATE_HOME/numbrix/cli_history whatever that file holds, and Tab
// completes names.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "PtySession.h"
#include "support/TempDir.h"

namespace {

using namespace std::string_literals;

// The lines "1+i" for i from `from` up to `to`, `to` excluded.
std::string sums(int from, int to) {
  std::string lines;
  for (int i = from; i < to; ++i) lines += "1+" + std::to_string(i) + "\n";
  return lines;
}

TEST(Prompt, HistoryBetweenSessionsAndCompletion) {
  const std::string up = "\x1b[A";
  const std::string folder = "<folder>";
  struct Case {
    const char* name;
    std::string before;  // the history file at start ("" none, `folder` a folder in its place)
    std::string keys;    // typed before Ctrl+D ends the session
    std::string shown;   // what the terminal shows
    std::string after;   // the history file afterwards ("": not looked at)
  };
  const Case cases[] = {
      {"blank and repeated lines are not kept", "", "x = 6\n  \nx * 7\nx * 7\n", "42\r\n> x * 7\r\n42\r\n",
       "x = 6\nx * 7\nquit\n"},
      {"the newest 1000 lines, recalled", sums(0, 1100), up + "\n2*3\n", "\r\n6\r\n", sums(102, 1100) + "2*3\nquit\n"},
      {"a folder in its place", folder, "6*7\n", "6*7\r\n42\r\n", ""},
      {"lines with NUL bytes", "\xff\x1b[2J\x80\n\x01\0\xfe\n7*6\n\0ab\n"s, up + "\n1+1\n", "42\r\n> 1+1\r\n2\r\n",
       "\xff\x1b[2J\x80\n7*6\n1+1\nquit\n"},
      {"a huge file", std::string(5 << 20, 'x') + "\n7*6\n", up + "\n1+1\n", "42\r\n> 1+1\r\n2\r\n",
       "7*6\n1+1\nquit\n"},
      {"a function", "", "sq\t4)\n", "\r\n2\r\n", ""},
      {"a variable", "", "myvar = 3\nmy\t*2\n", "\r\n6\r\n", ""},
      {"after an operator, not in a number", "", "2*sq\t9)+12\t+\t1\n", "\r\n19\r\n", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const std::filesystem::path file = dir.path() / "state" / "numbrix" / "cli_history";
    std::filesystem::create_directories(file.parent_path());
    if (c.before == folder) std::filesystem::create_directory(file);
    if (!c.before.empty() && c.before != folder) writeBytes(file, c.before);
    writeBytes(dir.file("12th"), "");  // never offered in place of a name
    PtySession session(dir, "40");
    std::string shown = session.readUntil("> ", 10);
    session.type(c.keys);
    shown += session.readUntil(c.shown + "> ", 10);
    EXPECT_NE(shown.find(c.shown), std::string::npos) << testing::PrintToString(shown);
    // "quit" ends the session (a Ctrl+D typed while the line editor switches
    // the terminal's mode between two lines can be lost on a busy machine).
    session.type("quit\n");
    EXPECT_EQ(session.exitStatus(30), 0);
    shown += session.readUntil("(the end)", 10);
    // One warning line for a history that cannot be used, and no other.
    EXPECT_EQ(shown.find("warning: cannot read the prompt history " + file.string() + ": Is a directory\r\n> ") !=
                  std::string::npos,
              c.before == folder);
    EXPECT_EQ(shown.find("warning"), shown.rfind("warning")) << shown;
    if (!c.after.empty()) {
      EXPECT_EQ(readBytes(file.string()), c.after);
    }
  }
}

}  // namespace
