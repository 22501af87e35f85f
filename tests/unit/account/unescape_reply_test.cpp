#include "core/account/unescape_reply.h"

#include <gtest/gtest.h>

#include "core/text/text.h"

namespace quillet {
namespace {

struct UnescapeCase {
  const char* name;
  Text reply;   // code page 936
  Text result;  // code page 936
};

std::vector<UnescapeCase> Cases() {
  return {
      {"chinese_u_escapes", R"({"code":200,"msg":"\u6ce8\u518c\u6210\u529f"})",
       Gbk(R"({"code":200,"msg":"注册成功"})")},
      {"upper_case_hex_digits", R"(\u6CE8)", Gbk("注")},
      {"single_quote_kept", R"({"msg":"it's"})", R"({"msg":"it's"})"},
      {"crlf_survives_as_marker", "{\"a\":1}\r\n{\"b\":2}", "{\"a\":1}\r\n{\"b\":2}"},
      {"leading_cr_removed", "\r{\"code\":200}", "{\"code\":200}"},
      {"literal_escapes", R"(a\tb\x41\x4a\\c)", "a\tbAJ\\c"},
      {"backslash_before_plain_char_dropped", R"(\q\"\/)", "q\"/"},
      {"zero_followed_by_digit_is_not_nul", R"(\01)", "01"},
      {"nul_ends_the_text", R"(ab\0cd)", "ab"},
      {"percent_escapes", "%41%u4e2d%zz%u12", Gbk("A中%zz%u12")},
      {"character_gbk_lacks", R"(x\u0e01y)", "x?y"},
      // The second byte of "嘰" is 5C, a backslash by value but no escape.
      {"gbk_trail_byte_is_no_backslash", Gbk("嘰u4e2d嘰n"), Gbk("嘰u4e2d嘰n")},
      {"escaped_line_break_is_continuation", "a\\\nb", "ab"},
      // A raw line break ends the literal: the bytes are read as UTF-16LE.
      // 0A 4E is U+4E0A, 2D 4E is U+4E2D.
      {"raw_line_feed_falls_back_to_utf16", "\nN-N", Gbk("上中")},
      // 78 0D is U+0D78, which code page 936 lacks.
      {"lone_cr_after_start_falls_back", "x\r", "?"},
      {"trailing_backslash_falls_back", "O\\", Gbk("屏")},
      {"bad_hex_escape_falls_back", "\\xzN", Gbk("硜乺")},
      {"empty", "", ""},
  };
}

TEST(UnescapeReply, TableOfReplies) {
  for (const auto& c : Cases()) {
    EXPECT_EQ(UnescapeReply(c.reply), c.result) << c.name;
  }
}

}  // namespace
}  // namespace quillet
