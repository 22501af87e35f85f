// Hostile and unusual input: malformed and truncated text, deep nesting, huge
// documents, the script literal forms that are accepted and those that are not.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/script/json_object.h"
#include "core/text/text.h"

namespace quillet {
namespace {

TEST(JsonObjectInput, MalformedTextFailsWithNullRoot) {
  const char* cases[] = {
      "{",         "[1,",         R"({"a":})", R"({"a" 1})", "[1 2]",    "tru",
      "nul",       "01",          "1.",        ".5",         "+1",       "[1,]",
      "{,}",       R"({"a":1,})", "\"abc",     "'abc",       "\"a\nb\"", R"("\u12")",
      R"("\x4")",  "{a b:1}",     "[1]x",      "/*c*/1",     "0x10",     "NaN",
      "undefined", "1e",          "-",         "[}",         "{]",       "\"\\",
      "{\"a\"",    "{\"a\":",     "[[[]]",     "true false", "{1a:2}",   "Infinity",
  };
  for (const char* text : cases) {
    SCOPED_TRACE(text);
    JsonObject o;
    EXPECT_FALSE(o.Parse(text));
    EXPECT_EQ(o.ToText(), "null");
    JsonObject l;
    EXPECT_FALSE(l.Parse(text, true));
    EXPECT_EQ(l.ToText(), "null");
  }
}

TEST(JsonObjectInput, ScriptLiteralFormsAccepted) {
  const std::pair<const char*, const char*> cases[] = {
      {"{a:1}", R"({"a":1})"},
      {"{'a':'b'}", R"({"a":"b"})"},
      {"{$x_1:true,_:null}", R"({"$x_1":true,"_":null})"},
      {"{1:2,1.5:3}", R"({"1":2,"1.5":3})"},
      {R"(['it\'s',"say \"hi\""])", R"(["it's","say \"hi\""])"},
      {R"(["\x41\v\0"])", R"(["A\u000b\u0000"])"},
      {"[\"a\\\nb\"]", R"(["ab"])"},
      {"[\"tab\there\"]", R"(["tab\there"])"},
      {"\v[1]\f", "[1]"},
      {R"(["\q\/"])", R"(["q/"])"},
  };
  for (const auto& [text, json] : cases) {
    SCOPED_TRACE(text);
    JsonObject o;
    EXPECT_TRUE(o.Parse(text));
    EXPECT_EQ(o.ToText(), json);
  }
}

TEST(JsonObjectInput, EveryProperPrefixOfADocumentFails) {
  const std::string doc =
      Gbk(R"({"a":[1,-2.5e3,{"b":"c\"\u4e2d"}],"d":"中文","e":[true,false,null]})");
  JsonObject whole;
  ASSERT_TRUE(whole.Parse(doc));
  for (std::size_t n = 0; n < doc.size(); ++n) {
    SCOPED_TRACE(n);
    JsonObject o;
    EXPECT_FALSE(o.Parse(doc.substr(0, n), true));
  }
}

std::string Nested(int depth, const char* open, const char* close) {
  std::string s;
  for (int i = 0; i < depth; ++i) s += open;
  s += "1";
  for (int i = 0; i < depth; ++i) s += close;
  return s;
}

TEST(JsonObjectInput, NestingIsLimited) {
  JsonObject o;
  EXPECT_TRUE(o.Parse(Nested(512, "[", "]")));
  EXPECT_EQ(o.ToText(), Nested(512, "[", "]"));
  EXPECT_FALSE(o.Parse(Nested(513, "[", "]")));
  EXPECT_TRUE(o.Parse(Nested(512, "{\"a\":", "}")));
  EXPECT_FALSE(o.Parse(Nested(513, "{\"a\":", "}")));
  // Far beyond any sensible depth: a failure, not a stack overflow.
  EXPECT_FALSE(o.Parse(std::string(1000000, '[')));
  EXPECT_FALSE(o.Parse(Nested(200000, "{a:", "}")));
  EXPECT_EQ(o.ToText(), "null");
}

TEST(JsonObjectInput, EditsCannotNestBeyondTheLimit) {
  JsonObject o;
  ASSERT_TRUE(o.SetJson("a", Nested(511, "[", "]")));
  EXPECT_FALSE(o.SetJson("b", Nested(512, "[", "]")));
  EXPECT_FALSE(o.SetJson("a[0]", Nested(511, "[", "]")));
  EXPECT_FALSE(o.AddMember(Nested(511, "[", "]"), "c", true));
  EXPECT_FALSE(o.SetValue("a", Nested(512, "[", "]"), true));
  EXPECT_EQ(o.GetType("b"), 0);
  // Whatever was built can be copied out again.
  EXPECT_EQ(o.GetObject("").ToText(), o.ToText());
}

TEST(JsonObjectInput, HugeDocument) {
  std::string text = "[";
  for (int i = 0; i < 200000; ++i) {
    if (i) text += ',';
    text += "{\"id\":" + std::to_string(i) + ",\"name\":\"n" + std::to_string(i) + "\"}";
  }
  text += "]";
  JsonObject o;
  ASSERT_TRUE(o.Parse(text));
  EXPECT_EQ(o.GetCount(""), 200000);
  EXPECT_EQ(o.GetText("[199999].name"), "n199999");
  EXPECT_EQ(o.ToText(), text);
  const std::string longText = "\"" + std::string(5000000, 'x') + "\"";
  EXPECT_TRUE(o.Parse(longText, true));
  EXPECT_EQ(o.GetText("").size(), 5000000u);
}

TEST(JsonObjectInput, ZeroByteEndsArgumentAndResultTexts) {
  JsonObject o;
  EXPECT_TRUE(o.Parse(std::string("[1]\0garbage", 11)));
  EXPECT_EQ(o.ToText(), "[1]");
  o.Parse(R"({"s":"ab\u0000cd"})");
  EXPECT_EQ(o.GetText("s"), "ab");
  EXPECT_EQ(o.ToText(), R"({"s":"ab\u0000cd"})");
}

TEST(JsonObjectInput, InvalidCodePage936BytesAreReplaced) {
  JsonObject o;
  // 0x81 0x20 is no character; the bytes become a replacement, not a failure.
  ASSERT_TRUE(o.Parse(std::string("{\"s\":\"a\x81 b\"}")));
  const Text s = o.GetText("s");
  EXPECT_EQ(s.front(), 'a');
  EXPECT_EQ(s.back(), 'b');
  EXPECT_NE(s.find('?'), std::string::npos);
}

}  // namespace
}  // namespace quillet
