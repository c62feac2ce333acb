#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "plugin/clsHandOff.h"

using HostRecords::EntryRecord;
using HostRecords::InvocationRecord;

namespace {

constexpr const char* kModule = "/opt/trim jet/Trimjet.hpx";
constexpr const char* kProgram = "/opt/trim jet/Trimjet.dat ";

struct Entry {
  const char* path;
  std::int32_t kind;
};

struct BuildCase {
  const char* name;
  std::int32_t index;
  std::vector<Entry> entries;
  const char* expected;  // text after the program path and its blank; nullptr: no start
};

void PrintTo(const BuildCase& c, std::ostream* os) { *os << c.name; }

class HandOffBuild : public ::testing::TestWithParam<BuildCase> {};

}  // namespace

TEST_P(HandOffBuild, CommandLine) {
  const BuildCase& c = GetParam();
  std::vector<EntryRecord> records(c.entries.size(), EntryRecord{});
  for (std::size_t i = 0; i < c.entries.size(); ++i) {
    records[i].path = c.entries[i].path;
    records[i].kind = c.entries[i].kind;
  }
  InvocationRecord inv{};
  inv.commandIndex = c.index;
  inv.entryCount = static_cast<std::int32_t>(records.size());
  inv.entries = records.data();
  auto handOff = std::make_unique<clsHandOff>(kModule);
  const bool start = handOff->BuildCommand(&inv);
  EXPECT_EQ(start, c.expected != nullptr);
  if (c.expected != nullptr) {
    EXPECT_EQ(std::string(handOff->Text()), kProgram + std::string(c.expected));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Selections, HandOffBuild,
    ::testing::Values(
        BuildCase{"SingleFile", 0, {{"/p/a b.jpg", 2}}, "OptimizeImage /p/a b.jpg"},
        BuildCase{"SingleOtherKind", 0, {{"/p/a.jpg", 7}}, "OptimizeImage /p/a.jpg"},
        BuildCase{"SingleNamesWithQuestionMark", 0, {{"/p/a?.jpg", 2}}, "OptimizeImage /p/a?.jpg"},
        BuildCase{"KindZeroIsBatch", 0, {{"/p/a.jpg", 0}}, "BatchProcess /p/?a.jpg"},
        BuildCase{"KindOneIsBatch", 0, {{"/p/a.jpg", 1}}, "BatchProcess /p/?a.jpg"},
        BuildCase{"ThreeFiles",
                  0,
                  {{"/p/a.jpg", 2}, {"/p/b.png", 2}, {"/p/c d.tif", 2}},
                  "BatchProcess /p/?a.jpg?b.png?c d.tif"},
        BuildCase{"Folder", 0, {{"/p/sub", 1}}, "BatchProcess /p/?sub"},
        BuildCase{"FolderEndingInSlashGivesParent", 0, {{"/p/sub/", 1}}, "BatchProcess /p/?sub/"},
        BuildCase{"FileInRoot", 0, {{"/a.jpg", 0}}, "BatchProcess /?a.jpg"},
        BuildCase{"FolderThenItsFile",
                  0,
                  {{"/p/sub/", 1}, {"/p/sub/x.jpg", 2}},
                  "BatchProcess /p/?sub/?sub/x.jpg"},
        // Entries from other folders share the folder they have in common.
        BuildCase{"SecondFolder",
                  0,
                  {{"/p/q/a.jpg", 2}, {"/p/r/b.jpg", 2}},
                  "BatchProcess /p/?q/a.jpg?r/b.jpg"},
        BuildCase{
            "Subfolder", 0, {{"/p/a.jpg", 2}, {"/p/s/b.jpg", 2}}, "BatchProcess /p/?a.jpg?s/b.jpg"},
        BuildCase{"PrefixIsNotAFolder",
                  0,
                  {{"/pics/a.jpg", 2}, {"/pic/b.jpg", 2}},
                  "BatchProcess /?pics/a.jpg?pic/b.jpg"},
        // A "?" cannot stand in a list; those names are left out, the folder stops before it.
        BuildCase{"NameWithQuestionMark",
                  0,
                  {{"/p/a.jpg", 2}, {"/p/b?.jpg", 2}, {"/p/c.jpg", 2}},
                  "BatchProcess /p/?a.jpg?c.jpg"},
        BuildCase{"FolderWithQuestionMark",
                  0,
                  {{"/p/w?/a.jpg", 2}, {"/p/b.jpg", 2}},
                  "BatchProcess /p/?b.jpg"},
        BuildCase{"OnlyQuestionMarks", 0, {{"/p/a?.jpg", 2}, {"/p/b?.jpg", 2}}, nullptr},
        // Empty and missing paths name nothing; the bare folder must never be sent.
        BuildCase{"EmptyPathsSkipped",
                  0,
                  {{"", 2}, {nullptr, 2}, {"/p/a.jpg", 2}},
                  "BatchProcess /p/?a.jpg"},
        BuildCase{"BareNameAndEmptyPath", 0, {{"a.jpg", 0}, {"", 2}}, "BatchProcess ?a.jpg"},
        BuildCase{"OnlyEmptyPaths", 0, {{"", 2}, {nullptr, 2}}, nullptr},
        BuildCase{"IndexOneIgnoresEntries", 1, {{"/p/a.jpg", 2}}, ""},
        BuildCase{"IndexOneWithoutEntries", 1, {}, ""}, BuildCase{"NoEntries", 0, {}, nullptr},
        BuildCase{"OtherIndex", 2, {{"/p/a.jpg", 2}}, nullptr},
        BuildCase{"NegativeIndex", -1, {{"/p/a.jpg", 2}}, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HandOff, InvocationsThatStartNothing) {
  auto handOff = std::make_unique<clsHandOff>(kModule);
  EXPECT_FALSE(handOff->BuildCommand(nullptr));
  InvocationRecord noArray{};
  noArray.entryCount = 2;
  EXPECT_FALSE(handOff->BuildCommand(&noArray));
  EntryRecord one{};
  one.path = "/p/a.jpg";
  InvocationRecord negative{};
  negative.entryCount = -1;
  negative.entries = &one;
  EXPECT_FALSE(handOff->BuildCommand(&negative));
  EXPECT_EQ(std::string(handOff->Text()), kProgram);
}

TEST(HandOff, ProgramPathFromModulePath) {
  const std::string longFolder = "/" + std::string(300, 'd') + "/";
  struct Case {
    std::string module;
    std::string text;
  };
  const Case cases[] = {
      {"/opt/trim jet/Trimjet.hpx", "/opt/trim jet/Trimjet.dat "},
      {"/Trimjet.hpx", "/Trimjet.dat "},
      {"/opt/plugins/", "/opt/plugins/Trimjet.dat "},
      {longFolder + "Trimjet.hpx", longFolder + "Trimjet.dat "},  // no truncation
      {"Trimjet.hpx", ""},
  };
  for (const Case& c : cases) {
    auto handOff = std::make_unique<clsHandOff>(c.module.c_str());
    EXPECT_EQ(std::string(handOff->Text()), c.text) << c.module;
    if (c.text.empty()) {
      EXPECT_FALSE(handOff->Start());
    }
  }
  auto unknown = std::make_unique<clsHandOff>(nullptr);
  EXPECT_EQ(unknown->Length(), 0u);
  EXPECT_FALSE(unknown->Start());
}

TEST(HandOff, StartFailsSilentlyWhenTheProgramIsMissing) {
  auto handOff = std::make_unique<clsHandOff>("/nonexistent-trimjet-folder/Trimjet.hpx");
  EXPECT_FALSE(handOff->Start());
}
