#include <gtest/gtest.h>

#include <QStringDecoder>

#include "settings/Cp1252.h"

namespace {
QByteArray AllBytes() {
  QByteArray bytes;
  for (int b = 0; b < 256; ++b) bytes.append(char(b));
  return bytes;
}
}  // namespace

TEST(Cp1252, KnownCharacters) {
  EXPECT_EQ(Cp1252::ToUnicode("\x80\x8a\x99\x9f\xe9\xff"), QString::fromUtf8("€Š™Ÿéÿ"));
  EXPECT_EQ(Cp1252::FromUnicode(QString::fromUtf8("€Š™Ÿéÿ")),
            QByteArray("\x80\x8a\x99\x9f\xe9\xff"));
  EXPECT_EQ(Cp1252::ToUnicode(QByteArray("a\0b", 3)).size(), 3);
}

TEST(Cp1252, EveryByteSurvivesTheRoundTrip) {
  EXPECT_EQ(Cp1252::FromUnicode(Cp1252::ToUnicode(AllBytes())), AllBytes());
}

TEST(Cp1252, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(Cp1252::FromUnicode(QString::fromUtf8("a\u4e2d\u0100b")), QByteArray("a??b"));
}

TEST(Cp1252, AgreesWithTheSystemConverterWhereOneExists) {
  QStringDecoder system("windows-1252");
  if (!system.isValid()) GTEST_SKIP() << "this Qt build has no windows-1252 converter";
  EXPECT_EQ(Cp1252::ToUnicode(AllBytes()), system.decode(AllBytes()));
}
