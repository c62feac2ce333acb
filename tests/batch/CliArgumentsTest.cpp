#include <gtest/gtest.h>

#include <QDir>

#include "cli/CliArguments.h"
#include "core/OptionGrammar.h"

namespace {

CliArguments Parsed(const QStringList& args) {
  CliArguments out;
  QString error;
  EXPECT_TRUE(CliArguments::Parse(args, out, error)) << error.toStdString();
  return out;
}

}  // namespace

TEST(CliArguments, UsageErrors) {
  struct Case {
    QStringList args;
    const char* reasonPart;
  };
  const Case cases[] = {
      {{"--overwrite"}, "no INPUT"},
      {{"a.png"}, "exactly one"},
      {{"--overwrite", "--output-dir", "o", "a.png"}, "exactly one"},
      {{"--overwrite", "--effect", "Blurr", "a.png"}, "unknown effect 'Blurr'"},
      {{"--overwrite", "--effect", "sharpen-more", "a.png"}, "unknown effect"},
      {{"--overwrite", "--effect", "Kodalith=256", "a.png"}, "from 0 to 255"},
      {{"--overwrite", "--effect", "Remove Noise=2", "a.png"}, "from 3 to 11"},
      {{"--overwrite", "--effect", "Rotate=x", "a.png"}, "not 'x'"},
      {{"--overwrite", "--effect", "Sharpen=3", "a.png"}, "takes no level"},
      {{"--overwrite", "--quality", "6", "a.png"}, "from 7 to 98"},
      {{"--overwrite", "--quality=99", "a.png"}, "from 7 to 98"},
      {{"--overwrite", "--scale", "0", "a.png"}, "from 1 to 500"},
      {{"--overwrite", "--scale", "50", "--width", "10", "a.png"}, "cannot be combined"},
      {{"--overwrite", "--jobs", "0", "a.png"}, "--jobs"},
      {{"--overwrite", "--faster", "a.png"}, "unknown option --faster"},
      {{"--overwrite", "a.png", "--quality"}, "needs a value"},
      {{"--overwrite=yes", "a.png"}, "takes no value"},
      {{"--overwrite", "--keep-structure", "a.png"}, "--keep-structure needs --output-dir"},
      {{"--overwrite", "-0", "a.png"}, "-0 needs --files-from"},
      {{"--overwrite", "--if-exists", "keep", "a.png"}, "number, replace or skip, not 'keep'"},
      {{"--overwrite", "--shard", "2/2", "a.png"}, "K/N with 0 <= K < N"},
      {{"--overwrite", "-x", "a.png"}, "unknown option -x"},
      {{"--overwrite", "--max-size", "0", "a.png"}, "not '0'"},
      {{"--overwrite", "--max-size", "300kb", "a.png"}, "with k or M"},
      {{"--overwrite", "--max-size", "2G", "a.png"}, "not '2G'"},
      {{"--overwrite", "--max-size", "1025M", "a.png"}, "from 1 to 1G"},
      {{"--overwrite", "--quality", "auto:low", "a.png"}, "medium, high, visually-lossless"},
      {{"--overwrite", "--quality", "automatic", "a.png"}, "from 7 to 98"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    CliArguments out;
    QString error;
    EXPECT_FALSE(CliArguments::Parse(c.args, out, error));
    EXPECT_TRUE(error.contains(c.reasonPart)) << error.toStdString();
  }
}

TEST(CliArguments, DefaultsAndValues) {
  const CliArguments plain = Parsed({"--overwrite", "a.png", "b"});
  EXPECT_EQ(plain.options.quality, 70);
  EXPECT_FALSE(plain.options.resize);
  EXPECT_TRUE(plain.options.effects.empty());
  EXPECT_FALSE(plain.options.stripMetadata);
  EXPECT_GE(plain.jobs, 1);
  EXPECT_EQ(plain.inputs, QStringList({"a.png", "b"}));

  const CliArguments full =
      Parsed({"--quality=40", "--width", "800", "--effect", "Kodalith", "--effect=Rotate=-90",
              "--effect", "Negative Image", "--jobs", "3", "--recursive", "--strip", "--output-dir",
              "rel", "--", "--odd name.png"});
  EXPECT_EQ(full.options.quality, 40);
  EXPECT_TRUE(full.options.resize);
  EXPECT_TRUE(full.options.manualSize);
  EXPECT_EQ(full.options.width, 800);
  EXPECT_EQ(full.options.height, 0);
  ASSERT_EQ(full.options.effects.size(), 3u);
  EXPECT_EQ(full.options.effects[0].entry->name, QString("Kodalith"));
  EXPECT_EQ(full.options.effects[0].level, 128);  // the start value
  EXPECT_EQ(full.options.effects[1].level, -90);
  EXPECT_EQ(full.options.effects[2].entry->name, QString("Negative Image"));
  EXPECT_EQ(full.jobs, 3);
  EXPECT_TRUE(full.recursive);
  EXPECT_TRUE(full.options.stripMetadata);
  EXPECT_EQ(full.outputDir, QDir::currentPath() + "/rel/");
  EXPECT_EQ(full.inputs, QStringList({"--odd name.png"}));

  const CliArguments listed = Parsed({"--output-dir", "o", "--files-from", "-", "-0", "--shard",
                                      "1/4", "--effect", "sharpen MORE", "--if-exists=skip"});
  EXPECT_TRUE(listed.inputs.isEmpty());
  EXPECT_EQ(listed.filesFrom, "-");
  EXPECT_TRUE(listed.nulSeparated);
  EXPECT_EQ(listed.shard.index, 1);
  EXPECT_EQ(listed.shard.count, 4);
  EXPECT_EQ(listed.options.effects.at(0).entry->name, QString("Sharpen More"));
  EXPECT_EQ(listed.ifExists, ExistingOutput::Rule::kSkip);
  EXPECT_TRUE(Parsed({"-h"}).help);
  EXPECT_TRUE(Parsed({"--overwrite", "--version"}).version);

  const CliArguments scaled = Parsed({"--scale", "50", "--overwrite", "a.png"});
  EXPECT_TRUE(scaled.options.resize);
  EXPECT_FALSE(scaled.options.manualSize);
  EXPECT_EQ(scaled.options.scale, 50);

  // Budgets count in 1024s; the words the workers get read back to the same options.
  const struct {
    const char* given;
    long long bytes;
  } budgets[] = {{"1", 1}, {"300k", 300 * 1024}, {"2M", 2 * 1024 * 1024}, {"1024m", 1LL << 30}};
  for (const auto& b : budgets) {
    const CliArguments sized = Parsed({"--max-size", b.given, "--progressive", "--overwrite", "a"});
    EXPECT_EQ(sized.options.maxBytes, b.bytes) << b.given;
    EXPECT_TRUE(sized.options.progressive);
    QStringList words = OptionGrammar::Arguments(sized.options);
    const CliArguments again = Parsed(words << "--overwrite" << "a");
    EXPECT_EQ(again.options.maxBytes, b.bytes);
    EXPECT_TRUE(again.options.progressive);
  }
  EXPECT_EQ(plain.options.maxBytes, 0);
  EXPECT_FALSE(plain.options.progressive);

  // Auto quality, plain or with a level, reaches the workers as the same level; a number
  // given later turns it off.
  const struct {
    QStringList given;
    AutoQuality::Level level;
  } autos[] = {{{"--quality", "auto"}, AutoQuality::Level::kHigh},
               {{"--quality=auto:medium"}, AutoQuality::Level::kMedium},
               {{"--quality", "auto:visually-lossless"}, AutoQuality::Level::kVisuallyLossless},
               {{"--quality", "auto", "--quality", "50"}, AutoQuality::Level::kOff}};
  for (const auto& a : autos) {
    const CliArguments parsed = Parsed(a.given + QStringList{"--overwrite", "a"});
    EXPECT_EQ(parsed.options.autoQuality, a.level) << a.given.join(' ').toStdString();
    QStringList words = OptionGrammar::Arguments(parsed.options);
    EXPECT_EQ(Parsed(words << "--overwrite" << "a").options.autoQuality, a.level);
  }
  EXPECT_EQ(plain.options.autoQuality, AutoQuality::Level::kOff);
}

// Short options, joined or apart, with their values attached or next, mean the long ones.
TEST(CliArguments, ShortOptionsMeanTheLongOnes) {
  const struct {
    QStringList shortForm, longForm;
  } cases[] = {
      {{"-rnq", "-j2", "-Q", "40", "-o", "o", "a"},
       {"--recursive", "--dry-run", "--quiet", "--jobs", "2", "--quality", "40", "--output-dir",
        "o", "a"}},
      {{"-0", "--files-from", "l", "-oout", "-Qauto:medium", "-j", "3", "--", "-r"},
       {"--null", "--files-from=l", "--output-dir=out", "--quality=auto:medium", "--jobs=3", "--",
        "-r"}},
      {{"-o", "-", "-"}, {"--output-dir", "-", "-"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shortForm.join(' ').toStdString());
    const CliArguments s = Parsed(c.shortForm), l = Parsed(c.longForm);
    EXPECT_EQ(s.recursive, l.recursive);
    EXPECT_EQ(s.dryRun, l.dryRun);
    EXPECT_EQ(s.quiet, l.quiet);
    EXPECT_EQ(s.nulSeparated, l.nulSeparated);
    EXPECT_EQ(s.jobs, l.jobs);
    EXPECT_EQ(s.options.quality, l.options.quality);
    EXPECT_EQ(s.options.autoQuality, l.options.autoQuality);
    EXPECT_EQ(s.outputDir, l.outputDir);
    EXPECT_EQ(s.toStdout, l.toStdout);
    EXPECT_EQ(s.fromStdin, l.fromStdin);
    EXPECT_EQ(s.inputs, l.inputs);
  }
  EXPECT_TRUE(Parsed({"-rnj2", "-o", "o", "a"}).dryRun);
  EXPECT_EQ(Parsed({"-rnj2", "-o", "o", "a"}).jobs, 2);
  EXPECT_TRUE(Parsed({"-V"}).version);
}
