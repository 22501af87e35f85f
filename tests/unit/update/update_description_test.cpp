#include "core/update/update_description.h"

#include <gtest/gtest.h>

#include "core/text/encodings.h"

namespace quillet {
namespace {

TEST(UpdateDescription, ReadsTheFourSectionsInAnyOrderAnywhere) {
  const Text text =
      Gbk("发布说明，与更新无关\r\n"
          "启动软件{quillet}\r\n"
          "新版介绍{修复了 若干 问题}\r\n"
          "更新版本{1.0.0.1}\r\n"
          "文件列表{quillet,10,ab}尾部");
  const UpdateDescription d = ReadUpdateDescription(text);
  EXPECT_EQ(d.version, "1.0.0.1");
  EXPECT_EQ(d.description, Gbk("修复了 若干 问题"));
  EXPECT_EQ(d.fileList, "quillet,10,ab");
  EXPECT_EQ(d.startProgram, "quillet");
}

TEST(UpdateDescription, MissingSectionsAreEmpty) {
  const UpdateDescription d = ReadUpdateDescription(Gbk("新版介绍{只有介绍}更新版本{1.0.0.1"));
  EXPECT_EQ(d.description, Gbk("只有介绍"));
  EXPECT_EQ(d.version, "");  // no closing brace
  EXPECT_EQ(d.fileList, "");
  EXPECT_EQ(d.startProgram, "");
  const UpdateDescription none = ReadUpdateDescription("");
  EXPECT_EQ(none.version, "");
}

TEST(UpdateDescription, FileListOverSeveralLinesBecomesOneWord) {
  const UpdateDescription d =
      ReadUpdateDescription(Gbk("文件列表{a,1,aa|\r\nb,2,bb|\r\n\r\nc,3,cc}"));
  EXPECT_EQ(d.fileList, "a,1,aa|b,2,bb|c,3,cc");
}

TEST(UpdateDescription, OnlyTheFirstOccurrenceCounts) {
  const UpdateDescription d = ReadUpdateDescription(Gbk("更新版本{1.0.0.1}更新版本{9.0.0.0}"));
  EXPECT_EQ(d.version, "1.0.0.1");
}

TEST(UpdateDescription, EscapedBraceEndsTheValueOnceDecoded) {
  // %7D is decoded before the sections are read, so it closes the value.
  const Text decoded = UrlDecode(Gbk("新版介绍{一%7D二}更新版本{%31.0.0.2}"), false);
  const UpdateDescription d = ReadUpdateDescription(decoded);
  EXPECT_EQ(d.description, Gbk("一"));
  EXPECT_EQ(d.version, "1.0.0.2");
}

}  // namespace
}  // namespace quillet
