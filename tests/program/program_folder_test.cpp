#include "app/program_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace raziz::test {
namespace {

struct FolderCase {
  const char* path;
  PathStyle style;
  const char* folder;
};

class ProgramFolder : public ::testing::TestWithParam<FolderCase> {};

TEST_P(ProgramFolder, IsThePathCutAtItsLastSeparator) {
  EXPECT_EQ(program_folder(GetParam().path, GetParam().style), GetParam().folder) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(
    Posix, ProgramFolder,
    ::testing::Values(FolderCase{"/opt/raziz/raziz", PathStyle::posix, "/opt/raziz"},
                      FolderCase{"/raziz", PathStyle::posix, "/"}, FolderCase{"raziz", PathStyle::posix, ""},
                      FolderCase{"", PathStyle::posix, ""}, FolderCase{"bin/raziz", PathStyle::posix, "bin"},
                      FolderCase{"dir\\raziz", PathStyle::posix, ""},  // a backslash is part of a POSIX name
                      FolderCase{"/a b/ü/raziz", PathStyle::posix, "/a b/ü"}));

INSTANTIATE_TEST_SUITE_P(
    Windows, ProgramFolder,
    ::testing::Values(FolderCase{"C:\\Program Files\\Raziz\\raziz.exe", PathStyle::windows, "C:\\Program Files\\Raziz"},
                      FolderCase{"C:\\raziz.exe", PathStyle::windows, "C:\\"},
                      FolderCase{"d:/raziz.exe", PathStyle::windows, "d:/"},
                      FolderCase{"C:raziz.exe", PathStyle::windows, ""},
                      FolderCase{"\\\\server\\share\\raziz.exe", PathStyle::windows, "\\\\server\\share"},
                      FolderCase{"C:\\Raziz/bin\\raziz.exe", PathStyle::windows, "C:\\Raziz/bin"},
                      FolderCase{"1:\\raziz.exe", PathStyle::windows, "1:"}));

TEST(EnterProgramFolder, AFolderThatCannotBeEnteredLeavesTheWorkingDirectory) {
  const auto before = std::filesystem::current_path();
  enter_program_folder("/no/such/folder/raziz");
  EXPECT_EQ(std::filesystem::current_path(), before);
}

}  // namespace
}  // namespace raziz::test
