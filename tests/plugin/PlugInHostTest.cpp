// Loads the built Trimjet.hpx with dlopen as the host does and checks what it answers and
// which program starts it causes.
#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <QDir>
#include <QRegularExpression>
#include <QThread>
#include <cstring>
#include <string>
#include <vector>

#include "PlugInFolder.h"

using HostRecords::CommandRecordArea;
using HostRecords::DescriptionRecord;
using HostRecords::EntryRecord;
using HostRecords::InvocationRecord;

namespace {

// Expected bytes, written by offset as the host reads them (little-endian).
struct Bytes {
  explicit Bytes(std::size_t n) : data(n, 0) {}
  Bytes& U32(std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) data[at + i] = static_cast<unsigned char>(v >> (8 * i));
    return *this;
  }
  Bytes& Address(std::size_t at, const void* p) {
    const auto v = reinterpret_cast<std::uintptr_t>(p);
    for (std::size_t i = 0; i < sizeof v; ++i)
      data[at + i] = static_cast<unsigned char>(v >> (8 * i));
    return *this;
  }
  Bytes& Text(std::size_t at, const char* s) {
    std::memcpy(data.data() + at, s, std::strlen(s));
    return *this;
  }
  std::vector<unsigned char> data;
};

std::vector<unsigned char> Read(const void* p, std::size_t n) {
  const auto* b = static_cast<const unsigned char*>(p);
  return {b, b + n};
}

std::int32_t Invoke(PlugInFolder& f, int index, const std::vector<std::string>& paths,
                    std::int32_t kind) {
  std::vector<EntryRecord> entries(paths.size(), EntryRecord{});
  for (std::size_t i = 0; i < paths.size(); ++i) {
    entries[i].path = paths[i].c_str();
    entries[i].kind = kind;
  }
  InvocationRecord inv{};
  inv.commandIndex = index;
  inv.entryCount = static_cast<std::int32_t>(entries.size());
  inv.entries = entries.data();
  return f.invokeCommand(&inv, 0);
}

}  // namespace

TEST(PlugInRecords, ZeroUntilInitThenByteExact) {
  PlugInFolder f;
  ASSERT_TRUE(f.Load());
  DescriptionRecord* info = nullptr;
  EXPECT_EQ(f.getPlugInInfo(&info), 0);
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(Read(info, sizeof *info), std::vector<unsigned char>(sizeof *info, 0));

  EXPECT_EQ(f.init(0), 0);
  EXPECT_EQ(f.init(0), 0);  // a second call changes nothing
  DescriptionRecord* again = nullptr;
  EXPECT_EQ(f.getPlugInInfo(&again), 0);
  EXPECT_EQ(again, info);
  const void* area = info->commands;
  ASSERT_NE(area, nullptr);

  Bytes description(sizeof(void*) == 8 ? 64 : 60);
  description.U32(4, 110).Text(8, "Trimjet plugin").U32(52, 1).Address(56, area);
  EXPECT_EQ(Read(info, description.data.size()), description.data);

  Bytes commands(552);
  commands.U32(0, 5).U32(4, 256);
  const char* codes[] = {"BMP", "JPEG", "JPG",  "GIF",  "PNG",  "TIF", "TIFF",
                         "PCX", "TGA",  "WEBP", "HEIC", "HEIF", "AVIF"};
  for (std::size_t i = 0; i < std::size(codes); ++i) commands.Text(8 + 4 * i, codes[i]);
  commands.Text(72, "Optimize").Text(112, "Optimize").Text(152, "Optimize selected image(s)");
  commands.U32(232, 1).Text(236, "Optimize").U32(272, 4);
  EXPECT_EQ(Read(area, 552), commands.data);

  EXPECT_EQ(f.getPlugInInfo(nullptr), 0);  // a host without a slot is not written through
}

struct StartCase {
  const char* name;
  int index;
  std::vector<std::string> paths;  // "@" stands for the plug-in's folder
  std::int32_t kind;
  const char* rest;  // the program's one argument; nullptr: started with its path alone
};

void PrintTo(const StartCase& c, std::ostream* os) { *os << c.name; }

class PlugInStarts : public ::testing::TestWithParam<StartCase> {};

std::string Expand(const std::string& s, const QString& folder) {
  std::string out = s;
  const std::size_t at = out.find('@');
  if (at != std::string::npos) out.replace(at, 1, folder.toStdString());
  return out;
}

TEST_P(PlugInStarts, ProgramReceivesTheCommandLine) {
  const StartCase& c = GetParam();
  PlugInFolder f;
  ASSERT_TRUE(f.Load());
  f.init(0);
  std::vector<std::string> paths;
  for (const std::string& p : c.paths) paths.push_back(Expand(p, f.Path()));
  EXPECT_EQ(Invoke(f, c.index, paths, c.kind), 0);

  const QList<PlugInFolder::Start> starts = f.WaitForStarts(1);
  ASSERT_EQ(starts.size(), 1);
  QList<QByteArray> expected{f.Program()};
  if (c.rest != nullptr) expected.append(QByteArray::fromStdString(Expand(c.rest, f.Path())));
  EXPECT_EQ(starts[0].argv, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Selections, PlugInStarts,
    ::testing::Values(
        StartCase{"OneFile", 0, {"@/my pics/a b.jpg"}, 2, "OptimizeImage @/my pics/a b.jpg"},
        StartCase{"OneFileKindZero", 0, {"@/pics/a.jpg"}, 0, "BatchProcess @/pics/?a.jpg"},
        StartCase{"ThreeFiles",
                  0,
                  {"@/pics/a.jpg", "@/pics/b c.png", "@/pics/d.tif"},
                  2,
                  "BatchProcess @/pics/?a.jpg?b c.png?d.tif"},
        StartCase{"Folder", 0, {"@/pics/sub"}, 1, "BatchProcess @/pics/?sub"},
        StartCase{"CommandIndexOne", 1, {"@/pics/a.jpg"}, 2, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PlugInStarts, DialogStartsWithoutKeyword) {
  PlugInFolder f;
  ASSERT_TRUE(f.Load());
  EXPECT_EQ(f.showPlugInDialog(0), 0);
  const QList<PlugInFolder::Start> starts = f.WaitForStarts(1);
  ASSERT_EQ(starts.size(), 1);
  EXPECT_EQ(starts[0].argv, QList<QByteArray>{f.Program()});
}

TEST(PlugInStarts, OverflowKeepsTheNamesThatFit) {
  PlugInFolder f;
  ASSERT_TRUE(f.Load());
  // A subfolder name chosen so that the long names leave exactly 100 bytes of the buffer.
  const std::size_t base = f.Program().size() + 1 + 13 + f.Path().toUtf8().size() + 2;
  std::size_t pad = (32000 - base - 100) % 200;
  if (pad == 0) pad = 200;
  const std::string folder = f.Path().toStdString() + "/" + std::string(pad, 'p') + "/";
  const std::size_t head = base + pad;  // program, blank, "BatchProcess ", folder
  ASSERT_EQ((32000 - head) % 200, 100u);
  const std::size_t fitting = (32000 - head - 100) / 200;

  std::vector<std::string> names;
  for (int i = 0; i < 300; ++i) {  // 200 bytes each with its "?", 60,000 in all
    names.push_back(std::to_string(1000 + i) + std::string(191, 'x') + ".jpg");
  }
  names.push_back(std::string(95, 'e') + ".jpg");  // 100 bytes: would end the text at 32,000
  names.push_back(std::string(94, 'f') + ".jpg");  // 99 bytes: ends it at 31,999
  names.push_back("z");                            // no room left at all
  std::vector<std::string> paths;
  for (const std::string& n : names) paths.push_back(folder + n);
  EXPECT_EQ(Invoke(f, 0, paths, 2), 0);

  const QList<PlugInFolder::Start> starts = f.WaitForStarts(1);
  ASSERT_EQ(starts.size(), 1);
  ASSERT_EQ(starts[0].argv.size(), 2);
  std::string expected = "BatchProcess " + folder;
  for (std::size_t i = 0; i < fitting; ++i) expected += "?" + names[i];
  expected += "?" + names[301];
  EXPECT_EQ(starts[0].argv[1].toStdString(), expected);
  EXPECT_EQ(f.Program().size() + 1 + starts[0].argv[1].size(), 31999);
}

TEST(PlugInStarts, NothingStartedForUnusableInvocations) {
  PlugInFolder f;
  ASSERT_TRUE(f.Load());
  const std::string pic = f.Path().toStdString() + "/a.jpg";
  EXPECT_EQ(Invoke(f, 0, {}, 2), 0);
  EXPECT_EQ(Invoke(f, 2, {pic}, 2), 0);
  EXPECT_EQ(Invoke(f, -1, {pic}, 2), 0);
  EXPECT_EQ(f.invokeCommand(nullptr, 0), 0);
  InvocationRecord noArray{};
  noArray.entryCount = 3;
  EXPECT_EQ(f.invokeCommand(&noArray, 0), 0);

  // A start that must happen, then time for any wrong one to show up as well.
  EXPECT_EQ(Invoke(f, 0, {pic}, 2), 0);
  ASSERT_EQ(f.WaitForStarts(1).size(), 1);
  QThread::msleep(500);
  const QList<PlugInFolder::Start> starts = f.WaitForStarts(1);
  ASSERT_EQ(starts.size(), 1);
  EXPECT_EQ(starts[0].argv.value(1), QByteArray::fromStdString("OptimizeImage " + pic));
}

TEST(PlugInStarts, LoadedByRelativePathFindsItsFolderLater) {
  PlugInFolder f;
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(f.Path()));
  const bool loaded = f.Load("./Trimjet.hpx");
  QDir::setCurrent(before);
  ASSERT_TRUE(loaded);
  f.showPlugInDialog(0);
  const QList<PlugInFolder::Start> starts = f.WaitForStarts(1);
  ASSERT_EQ(starts.size(), 1);
  EXPECT_EQ(starts[0].argv.value(0), f.Program());
}

// The program must not inherit the host's open files, blocked or ignored signals.
TEST(PlugInStarts, ProgramGetsACleanProcessState) {
  PlugInFolder f;
  ASSERT_TRUE(f.Load());
  const int leaked = dup(1);  // no close-on-exec
  ASSERT_GE(leaked, 3);
  sigset_t block, old;
  sigemptyset(&block);
  sigaddset(&block, SIGUSR1);
  pthread_sigmask(SIG_BLOCK, &block, &old);
  struct sigaction ignore {
  }, previous{};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGUSR2, &ignore, &previous);

  f.showPlugInDialog(0);

  sigaction(SIGUSR2, &previous, nullptr);
  pthread_sigmask(SIG_SETMASK, &old, nullptr);
  close(leaked);

  const QList<PlugInFolder::Start> starts = f.WaitForStarts(1);
  ASSERT_EQ(starts.size(), 1);
  const QString state = QString::fromUtf8(starts[0].state);
  EXPECT_TRUE(state.startsWith("Fds:")) << state.toStdString();
  for (const QString& fd : state.section('\n', 0, 0).mid(4).split(' ', Qt::SkipEmptyParts)) {
    EXPECT_LT(fd.toInt(), 3) << state.toStdString();
  }
  // Signals 1-31 (bits 0-30) must be clear; the C library keeps its own real-time ones.
  const QRegularExpression mask("Sig(Blk|Ign):\\s*([0-9a-f]+)");
  int masks = 0;
  for (auto it = mask.globalMatch(state); it.hasNext(); ++masks) {
    const auto m = it.next();
    EXPECT_EQ(m.captured(2).toULongLong(nullptr, 16) & 0x7fffffffu, 0u) << state.toStdString();
  }
  EXPECT_EQ(masks, 2);
}
