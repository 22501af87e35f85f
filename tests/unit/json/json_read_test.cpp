// Reading a JsonObject: parse modes, paths, type codes, text and JSON forms,
// the backslash placeholder, copies.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/script/json_object.h"
#include "core/script/reply_json_object.h"
#include "core/text/text.h"

namespace quillet {
namespace {

JsonObject Parsed(std::string_view utf8Json) {
  JsonObject o;
  o.Parse(Gbk(utf8Json));
  return o;
}

TEST(JsonObjectRead, ConstructedObjectIsEmptyObject) {
  JsonObject o;
  EXPECT_EQ(o.ToText(), "{}");
  EXPECT_EQ(o.GetType(""), 4);
  ReplyJsonObject r;
  EXPECT_EQ(r.ToText(), "{}");
}

TEST(JsonObjectRead, AccountReplyFields) {
  for (int variant = 0; variant < 2; ++variant) {
    const Text reply = Gbk(R"({"code":200,"msg":{"token":"t0k","name":"张三"}})");
    Text code, token, msg, msgJson;
    int codeType = 0;
    if (variant == 0) {
      JsonObject o;
      ASSERT_TRUE(o.Parse(reply));
      code = o.GetText("code");
      codeType = o.GetType("code");
      token = o.GetText("msg.token");
      msg = o.GetText("msg");
      JsonObject sub = o.GetObject("msg");
      msgJson = sub.ToText();
      sub.Destroy();
    } else {
      ReplyJsonObject o;
      ASSERT_TRUE(o.Parse(reply));
      code = o.GetText("code");
      codeType = o.GetType("code");
      token = o.GetText("msg.token");
      msg = o.GetText("msg");
      msgJson = o.GetObject("msg").ToText();
    }
    EXPECT_EQ(code, "200");
    EXPECT_EQ(codeType, 2);
    EXPECT_EQ(token, "t0k");
    EXPECT_EQ(msg, "[object Object]");
    EXPECT_EQ(msgJson, Gbk(R"({"token":"t0k","name":"张三"})"));
  }
}

TEST(JsonObjectRead, MissingValuesAndMembersOfMissingValues) {
  JsonObject o = Parsed(R"({"a":1,"z":null})");
  EXPECT_EQ(o.GetText("nope"), "");
  EXPECT_EQ(o.GetType("nope"), 0);
  EXPECT_EQ(o.GetText("nope.x"), "");
  EXPECT_EQ(o.GetType("nope.x"), -1);
  EXPECT_EQ(o.GetType("z"), 0);
  EXPECT_EQ(o.GetType("z.x"), -1);
  EXPECT_EQ(o.GetJsonText("z"), "null");
  EXPECT_EQ(o.GetJsonText("nope"), "");
  // A member of a number reads as missing, not as an error.
  EXPECT_EQ(o.GetType("a.x"), 0);
  EXPECT_EQ(o.GetObject("nope").ToText(), "");
}

struct ParseModeCase {
  const char* text;
  bool evaluateResult;
  const char* evaluateToText;
  bool literalResult;
  const char* literalToText;
};

TEST(JsonObjectRead, EvaluateAndLiteralModes) {
  const ParseModeCase cases[] = {
      {R"({"a":1})", true, R"({"a":1})", true, R"({"a":1})"},
      {"[1,2]", true, "[1,2]", true, "[1,2]"},
      {"12", true, "12", true, "12"},
      {"null", false, "null", false, "null"},
      {"plain words", false, "null", false, "null"},
      {"", false, "", false, "null"},
      {"   ", false, "", false, "null"},
      {R"("[1,2]")", true, "[1,2]", true, R"("[1,2]")"},
      {R"("12.5")", true, "12.5", true, R"("12.5")"},
      {R"("true")", true, "true", true, R"("true")"},
      {R"("null")", false, "null", true, R"("null")"},
      {R"("hello")", false, "null", true, R"("hello")"},
      {R"("{\"a\":1}")", false, "null", true, R"("{\"a\":1}")"},
      {R"("")", false, "", true, R"("")"},
      {R"("'x'")", true, R"("x")", true, R"("'x'")"},
      {R"("[1,")", false, "null", true, R"("[1,")"},
  };
  for (const ParseModeCase& c : cases) {
    SCOPED_TRACE(c.text);
    JsonObject e;
    EXPECT_EQ(e.Parse(c.text), c.evaluateResult);
    EXPECT_EQ(e.ToText(), c.evaluateToText);
    JsonObject l;
    EXPECT_EQ(l.Parse(c.text, true), c.literalResult);
    EXPECT_EQ(l.ToText(), c.literalToText);
    ReplyJsonObject r;
    EXPECT_EQ(r.Parse(c.text), c.evaluateResult);
    EXPECT_EQ(r.ToText(), c.evaluateToText);
  }
}

TEST(JsonObjectRead, FailedParseLeavesObjectUsable) {
  JsonObject o;
  EXPECT_FALSE(o.Parse("{bad"));
  EXPECT_EQ(o.ToText(), "null");
  EXPECT_TRUE(o.Parse(R"({"k":"v"})"));
  EXPECT_EQ(o.GetText("k"), "v");
}

TEST(JsonObjectRead, ResolvePathRewrites) {
  JsonObject o = Parsed(R"({"a":{"b":1},"data":2,"arr":[5]})");
  const struct {
    const char* in;
    const char* out;
    bool result;
  } cases[] = {
      {"", "da", true},
      {"[0]", "da[0]", false},
      {"a.b", "da.a.b", true},
      {"data", "da.data", true},
      {"da", "da", true},
      {"da.a", "da.a", true},
      {"da.zz", "da.da.zz", false},
      {"arr[0]", "da.arr[0]", true},
      {"zz", "da.zz", false},
      {"zz.y", "da.zz.y", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    Text path = c.in;
    EXPECT_EQ(o.ResolvePath(path), c.result);
    EXPECT_EQ(path, c.out);
  }
}

TEST(JsonObjectRead, PathForms) {
  JsonObject o = Parsed(R"({"a":{"b c":[10,{"d":"x"}]},"名字":"张三","arr":[[1,2],[3]]})");
  const struct {
    const char* path;
    const char* text;
    int type;
  } cases[] = {
      {"a['b c'][0]", "10", 2},
      {"a[\"b c\"][1].d", "x", 6},
      {"a[ 'b c' ] [1] . d", "x", 6},
      {"arr[1][0]", "3", 2},
      {"arr[0]", "1,2", 5},
      {"arr.length", "2", 2},
      {"arr[0].length", "2", 2},
      {"arr[5]", "", 0},
      {"arr[-1]", "", 0},
      {"da.arr[1]", "3", 5},
      {"a..b", "", -1},
      {"a[", "", -1},
      {"a[01]", "", -1},
      {"1a", "", -1},
      {"a.b c", "", -1},
      {"[\"a\"]['b c'][0]", "10", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(o.GetText(c.path), c.text);
    EXPECT_EQ(o.GetType(c.path), c.type);
  }
  EXPECT_EQ(o.GetText(Gbk("名字")), Gbk("张三"));
  EXPECT_EQ(o.GetText(Gbk("['名字']")), Gbk("张三"));
}

TEST(JsonObjectRead, TypeCodes) {
  JsonObject o = Parsed(R"({"s":"x","n":1.5,"b":false,"z":null,"o":{},"a":[],"e":""})");
  const std::pair<const char*, int> cases[] = {{"s", 6}, {"n", 2}, {"b", 1}, {"z", 0},
                                               {"o", 4}, {"a", 5}, {"e", 6}, {"", 4}};
  for (const auto& [path, type] : cases) EXPECT_EQ(o.GetType(path), type) << path;
}

TEST(JsonObjectRead, TextAndJsonForms) {
  JsonObject o =
      Parsed(R"({"big":1e21,"small":1.5e-7,"int":123456789012345680000,"micro":0.000001,)"
             R"("tiny":1e-7,"negzero":-0,"inf":1e400,"ninf":-1e400,"pi":3.14159,"neg":-42,)"
             R"("third":0.3333333333333333,"t":true,"f":false,"s":"x","e":"",)"
             R"("arr":[1,null,"a",[2,3],{},true],"obj":{"k":1},"z":null})");
  const struct {
    const char* path;
    const char* text;
    const char* json;
  } cases[] = {
      {"big", "1e+21", "1e+21"},
      {"small", "1.5e-7", "1.5e-7"},
      {"int", "123456789012345680000", "123456789012345680000"},
      {"micro", "0.000001", "0.000001"},
      {"tiny", "1e-7", "1e-7"},
      {"negzero", "0", "0"},
      {"inf", "Infinity", "null"},
      {"ninf", "-Infinity", "null"},
      {"pi", "3.14159", "3.14159"},
      {"neg", "-42", "-42"},
      {"third", "0.3333333333333333", "0.3333333333333333"},
      {"t", "true", "true"},
      {"f", "false", "false"},
      {"s", "x", "\"x\""},
      {"e", "", "\"\""},
      {"arr", "1,,a,2,3,[object Object],true", R"([1,null,"a",[2,3],{},true])"},
      {"obj", "[object Object]", R"({"k":1})"},
      {"z", "", "null"},
      {"missing", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(o.GetText(c.path), c.text);
    EXPECT_EQ(o.GetText(c.path, true), c.json);
    EXPECT_EQ(o.GetJsonText(c.path), c.json);
  }
}

TEST(JsonObjectRead, StringifyEscapes) {
  const struct {
    const char* input;   // JSON text of one string (UTF-8)
    const char* output;  // ToText (as UTF-8, converted to GBK for the comparison)
  } cases[] = {
      {R"("\b\t\n\f\r\"\\/")", R"("\b\t\n\f\r\"\\/")"},
      {R"("\u0000\u0001\u001f\u001F")", R"("\u0000\u0001\u001f\u001f")"},
      {R"("\u007f\u0080\u009f\u00ad")", R"("\u007f\u0080\u009f\u00ad")"},
      {R"("\u0600\u0604\u0605\u070f")", "\"\\u0600\\u0604\xd8\x85\\u070f\""},
      {R"("\u17b4\u17b5\u200b\u200c\u200f\u2010")",
       "\"\\u17b4\\u17b5\xe2\x80\x8b\\u200c\\u200f\xe2\x80\x90\""},
      {R"("\u2028\u202f\u2030\u205f\u2060\u206f")",
       "\"\\u2028\\u202f\xe2\x80\xb0\xe2\x81\x9f\\u2060\\u206f\""},
      {R"("\ufeff\ufff0\uffff\uFFFD")", R"("\ufeff\ufff0\uffff\ufffd")"},
      {R"("\u0041\u4e2d文")", "\"A中文\""},
      {"\"\x7f\"", R"("\u007f")"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    JsonObject o;
    ASSERT_TRUE(o.Parse(Gbk(c.input), true));
    // Characters written as they are but missing from code page 936 (U+0605,
    // U+200B, U+205F) reach the caller as "?", which Gbk() of the raw character
    // gives too.
    const Text expected = Gbk(c.output);
    EXPECT_EQ(o.ToText(), expected);
  }
}

TEST(JsonObjectRead, CharactersOutsideCodePage936BecomeQuestionMarks) {
  JsonObject o = Parsed(R"({"e":"a\ud83d\ude00b","lone":"x\ud800y","c":"中"})");
  EXPECT_EQ(o.GetText("e"), "a?b");
  EXPECT_EQ(o.GetText("c"), Gbk("中"));
  const Text lone = o.GetText("lone");
  EXPECT_EQ(lone.front(), 'x');
  EXPECT_EQ(lone.back(), 'y');
  EXPECT_EQ(lone.find_first_not_of("xy?"), std::string::npos);
}

TEST(JsonObjectRead, MemberOrderAndRepeatedNames) {
  EXPECT_EQ(Parsed(R"({"b":1,"a":2,"10":3,"2":4})").ToText(), R"({"b":1,"a":2,"10":3,"2":4})");
  EXPECT_EQ(Parsed(R"({"a":1,"b":2,"a":3})").ToText(), R"({"a":3,"b":2})");
  EXPECT_EQ(Parsed(" { \"a\" : [ 1 , 2 ] ,\n\t\"b\" : { } } ").ToText(), R"({"a":[1,2],"b":{}})");
}

TEST(JsonObjectRead, LargeObjectKeepsOrderAndFindsMembers) {
  std::string text = "{";
  for (int i = 0; i < 300; ++i) {
    text += (i ? ",\"k" : "\"k") + std::to_string(299 - i) + "\":" + std::to_string(i);
  }
  text += ",\"k5\":-1}";
  JsonObject o;
  ASSERT_TRUE(o.Parse(text));
  EXPECT_EQ(o.GetText("k299"), "0");
  EXPECT_EQ(o.GetText("k5"), "-1");
  std::vector<Text> names;
  ASSERT_EQ(o.GetNames(names), 300);
  EXPECT_EQ(names.front(), "k299");
  EXPECT_EQ(names.back(), "k0");
  EXPECT_TRUE(o.Delete("k150"));
  EXPECT_EQ(o.GetType("k150"), 0);
  EXPECT_EQ(o.GetText("k149"), "150");
}

TEST(JsonObjectRead, ParsedBackslashIsRealSetValueBackslashIsPlaceholder) {
  JsonObject o = Parsed(R"({"p":"C:\\dir"})");
  EXPECT_EQ(o.GetText("p"), "C:\\dir");
  EXPECT_EQ(o.ToText(), R"({"p":"C:\\dir"})");

  JsonObject s;
  ASSERT_TRUE(s.SetValue("p", "C:\\dir"));
  EXPECT_EQ(s.GetText("p"), "C:\\dir");
  EXPECT_EQ(s.ToText(), R"({"p":"C:\dir"})");
  EXPECT_EQ(s.GetText("p", true), R"("C:\dir")");

  // The copy reads "\n" of C:\new as a line feed.
  JsonObject t;
  t.SetValue("o.p", "x");  // member of a missing value: fails
  EXPECT_EQ(t.ToText(), "{}");
  t.SetJson("o", "{}");
  ASSERT_TRUE(t.SetValue("o.p", "C:\\new"));
  EXPECT_EQ(t.GetObject("o").GetText("p"), "C:\new");
  std::vector<Text> values;
  ASSERT_EQ(t.GetNodeValues(values, "o"), 1);
  EXPECT_EQ(values[0], "C:?new");
}

TEST(JsonObjectRead, EscapedPlaceholderComesBackAsBackslash) {
  JsonObject o = Parsed(R"({"s":"a\u2400b","arr":["\u2400"]})");
  EXPECT_EQ(o.GetText("s"), "a\\b");
  EXPECT_EQ(o.GetText("s", true), R"("a\b")");
  EXPECT_EQ(o.GetText("arr"), "\\");
  EXPECT_EQ(o.GetMemberText(0, "arr"), "\\");
  EXPECT_EQ(o.ToText(), R"({"s":"a\b","arr":["\"]})");
  std::vector<Text> values;
  ASSERT_EQ(o.GetNodeValues(values, "", true), 2);
  EXPECT_EQ(values[0], "a?b");
  EXPECT_EQ(values[1], "?");
}

TEST(JsonObjectRead, CopiesShareUntilParsed) {
  JsonObject a = Parsed(R"({"o":{"k":1}})");
  JsonObject b = a.Copy();
  JsonObject c = a;  // the copy constructor shares as well
  ASSERT_TRUE(b.SetValue("x", "1"));
  EXPECT_EQ(a.GetText("x"), "1");
  EXPECT_EQ(c.GetText("x"), "1");
  EXPECT_EQ(a.GetEngine(), b.GetEngine());

  ASSERT_TRUE(b.Parse(R"({"y":2})"));
  EXPECT_NE(a.GetEngine(), b.GetEngine());
  a.SetValue("z", "3");
  EXPECT_EQ(b.GetText("z"), "");
  EXPECT_EQ(c.GetText("z"), "3");

  JsonObject sub = a.GetObject("o");
  sub.SetValue("k", "changed");
  EXPECT_EQ(a.GetText("o.k"), "1");
  JsonObject member = Parsed("[[1]]").GetMemberObject(0);
  EXPECT_EQ(member.ToText(), "[1]");

  c.Destroy();
  EXPECT_EQ(a.GetText("z"), "3");
  EXPECT_EQ(c.ToText(), "");
}

TEST(JsonObjectRead, ReplyCopiesShareUntilParsed) {
  ReplyJsonObject a;
  a.Parse(R"({"n":1})");
  ReplyJsonObject b = a.Copy();
  b.SetNumber("n", 2);
  EXPECT_EQ(a.GetText("n"), "2");
  ReplyJsonObject sub = a.GetObject("");
  sub.SetNumber("n", 3);
  EXPECT_EQ(a.GetText("n"), "2");
  b.Parse("{}");
  b.SetNumber("n", 4);
  EXPECT_EQ(a.GetText("n"), "2");
}

TEST(JsonObjectRead, DestroyedObjectFailsEverywhere) {
  JsonObject o = Parsed(R"({"a":[1]})");
  o.Destroy();
  std::vector<Text> out{"stale"};
  EXPECT_FALSE(o.Parse("{}"));
  EXPECT_EQ(o.ToText(), "");
  EXPECT_EQ(o.GetType("a"), -1);
  EXPECT_EQ(o.GetText("a"), "");
  EXPECT_FALSE(o.SetValue("a", "x"));
  EXPECT_FALSE(o.AddMember("x", "a"));
  EXPECT_EQ(o.GetNames(out), 0);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(o.GetNumber("a"), 0);
  EXPECT_FALSE(o.Clear());
  EXPECT_EQ(o.GetEngine(), nullptr);
  o.Initialize();
  EXPECT_EQ(o.ToText(), "{}");
}

}  // namespace
}  // namespace quillet
