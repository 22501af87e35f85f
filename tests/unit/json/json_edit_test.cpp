// Editing and listing: SetValue, SetJson, merges, array edits, Delete,
// numbers, names, counts and leaf values.
#include <gtest/gtest.h>

#include <cmath>
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

TEST(JsonObjectEdit, GetNames) {
  const struct {
    const char* json;
    const char* path;
    std::vector<Text> names;
  } cases[] = {
      {R"({"a":1,"b":{"c":2}})", "", {"a", "b"}},
      {R"({"a":1,"b":{"c":2}})", "b", {"c"}},
      {R"({"a":[1],"s":"x"})", "a", {}},
      {R"({"a":[1],"s":"x"})", "s", {}},
      {R"({"a":[1],"s":"x"})", "missing", {}},
      {R"({"x\r\ny":1,"z":2})", "", {"x", "y", "z"}},
      {R"({"a":1,"":2})", "", {"a"}},
      {R"({"":1,"b":2})", "", {"", "b"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.json) + " at " + c.path);
    std::vector<Text> names{"stale"};
    EXPECT_EQ(Parsed(c.json).GetNames(names, c.path), static_cast<long>(c.names.size()));
    EXPECT_EQ(names, c.names);
  }
}

TEST(JsonObjectEdit, GetCount) {
  JsonObject o = Parsed(R"({"a":[1,2,3],"o":{"x":1},"s":"abc","h":[]})");
  EXPECT_EQ(o.GetCount("a"), 3);
  EXPECT_EQ(o.GetCount("o"), 0);
  EXPECT_EQ(o.GetCount("s"), 0);
  EXPECT_EQ(o.GetCount("h"), 0);
  EXPECT_EQ(o.GetCount("missing.x"), 0);
}

TEST(JsonObjectEdit, GetNodeValues) {
  JsonObject o = Parsed(R"({"a":1,"b":{"c":"x"},"d":[true,null]})");
  std::vector<Text> values{"stale"};
  EXPECT_EQ(o.GetNodeValues(values, "", true), 3);
  EXPECT_EQ(values, (std::vector<Text>{"1", "x", "true"}));
  EXPECT_EQ(o.GetNodeValues(values, "", false), 1);
  EXPECT_EQ(values, (std::vector<Text>{"1"}));
  EXPECT_EQ(o.GetNodeValues(values, "d"), 1);
  EXPECT_EQ(values, (std::vector<Text>{"true"}));
  EXPECT_EQ(o.GetNodeValues(values, "missing"), 0);
  EXPECT_TRUE(values.empty());
}

TEST(JsonObjectEdit, GetNodeValuesJoinsThenSplits) {
  const struct {
    const char* json;
    std::vector<std::string> utf8Values;
  } cases[] = {
      {R"({"a":"x","b":""})", {"x"}},
      {R"({"a":"","b":"x"})", {"", "x"}},
      {R"(["p[2020年7月20日20时0分0秒]q",2.5])", {"p", "q", "2.5"}},
      {R"(["中文",false])", {"中文", "false"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.json);
    std::vector<Text> expected;
    for (const auto& v : c.utf8Values) expected.push_back(Gbk(v));
    std::vector<Text> values;
    EXPECT_EQ(Parsed(c.json).GetNodeValues(values), static_cast<long>(expected.size()));
    EXPECT_EQ(values, expected);
  }
}

TEST(JsonObjectEdit, SetValueTextMode) {
  JsonObject o = Parsed(R"({"a":{"n":1},"s":"x"})");
  EXPECT_TRUE(o.SetValue("a.t", "it's \"q\"\r\n"));
  EXPECT_EQ(o.GetText("a.t"), "it's \"q\"\r\n");
  EXPECT_EQ(o.GetJsonText("a.t"), R"("it's \"q\"\r\n")");
  EXPECT_TRUE(o.SetValue("a.n", Gbk("值")));
  EXPECT_EQ(o.GetText("a.n"), Gbk("值"));
  EXPECT_FALSE(o.SetValue("a.e", ""));  // stored, but an empty text is false
  EXPECT_EQ(o.GetType("a.e"), 6);
  EXPECT_FALSE(o.SetValue("missing.x", "v"));
  EXPECT_EQ(o.GetType("missing"), 0);
  EXPECT_TRUE(o.SetValue("s.x", "v"));  // a member of a text takes no write
  EXPECT_EQ(o.GetText("s"), "x");
  EXPECT_TRUE(o.SetValue("", "whole"));
  EXPECT_EQ(o.ToText(), R"("whole")");
}

TEST(JsonObjectEdit, SetValueObjectModeMerges) {
  JsonObject o = Parsed(R"({"a":{"x":1,"n":5,"z":null,"t":"s","b":true,"arr":[1],"o":{"p":1}}})");
  EXPECT_TRUE(
      o.SetValue("a", R"({y:2,n:{q:1},z:{w:1},t:'u',b:false,arr:[2,3],o:{r:2},'k':"v"})", true));
  EXPECT_EQ(o.GetJsonText("a"),
            R"({"x":1,"n":{"q":1},"z":{"w":1},"t":"u","b":false,"arr":[1,2,3],"o":{"p":1,"r":2},)"
            R"("y":2,"k":"v"})");
  // An empty value merges nothing.
  EXPECT_TRUE(o.SetValue("a.o", "", true));
  EXPECT_EQ(o.GetJsonText("a.o"), R"({"p":1,"r":2})");
  // An array source merges under index names.
  EXPECT_TRUE(o.SetValue("a.o", "[7,8]", true));
  EXPECT_EQ(o.GetJsonText("a.o"), R"({"p":1,"r":2,"0":7,"1":8})");
  // Not script literal text: nothing changes.
  EXPECT_FALSE(o.SetValue("a", "{y:", true));
  EXPECT_FALSE(o.SetValue("a", "{y:1+1}", true));
  EXPECT_EQ(o.GetText("a.y"), "2");
}

TEST(JsonObjectEdit, SetValueObjectModeEvaluatesOnNonObjects) {
  JsonObject o = Parsed(R"({"s":"text","arr":[1],"n":3})");
  EXPECT_TRUE(o.SetValue("s", "[1,2]", true));
  EXPECT_EQ(o.GetJsonText("s"), "[1,2]");
  EXPECT_TRUE(o.SetValue("arr", R"({"k":1})", true));
  EXPECT_EQ(o.GetJsonText("arr"), R"({"k":1})");
  EXPECT_TRUE(o.SetValue("new", R"("[3]")", true));
  EXPECT_EQ(o.GetJsonText("new"), "[3]");
  EXPECT_FALSE(o.SetValue("n", "plain words", true));
  EXPECT_EQ(o.GetText("n"), "3");
  // An empty value on a missing target stores "no value": listed, never written.
  EXPECT_FALSE(o.SetValue("u", "", true));
  std::vector<Text> names;
  EXPECT_EQ(o.GetNames(names), 5);
  EXPECT_EQ(names.back(), "u");
  EXPECT_EQ(o.ToText(), R"({"s":[1,2],"arr":{"k":1},"n":3,"new":[3]})");
}

TEST(JsonObjectEdit, ReplySetValueObjectModeMergesIntoAnyFoundValue) {
  ReplyJsonObject r;
  r.Parse(R"({"arr":[1],"s":"text","n":3,"o":{"a":1},"z":null})");
  EXPECT_TRUE(r.SetValue("arr", "[2,3]", true));
  EXPECT_TRUE(r.SetValue("s", "[1,2]", true));
  EXPECT_TRUE(r.SetValue("n", "{a:1}", true));
  EXPECT_TRUE(r.SetValue("o", "{b:2}", true));
  EXPECT_TRUE(r.SetValue("z", "[9]", true));
  EXPECT_TRUE(r.SetValue("m", "{c:3}", true));
  EXPECT_EQ(r.ToText(),
            R"({"arr":[1,2,3],"s":"text","n":3,"o":{"a":1,"b":2},"z":[9],"m":{"c":3}})");
  // The full variant replaces the array instead.
  JsonObject o;
  o.Parse(R"({"arr":[1]})");
  EXPECT_TRUE(o.SetValue("arr", "[2,3]", true));
  EXPECT_EQ(o.ToText(), R"({"arr":[2,3]})");
}

TEST(JsonObjectEdit, SetJsonEvaluates) {
  JsonObject o = Parsed(R"({"k":1})");
  EXPECT_TRUE(o.SetJson("a", R"({"x":[1,{"y":null}]})"));
  EXPECT_EQ(o.GetJsonText("a"), R"({"x":[1,{"y":null}]})");
  EXPECT_TRUE(o.SetJson("b", R"("[1]")"));
  EXPECT_EQ(o.GetJsonText("b"), "[1]");
  EXPECT_FALSE(o.SetJson("k", R"("words")"));
  EXPECT_FALSE(o.SetJson("k", "{"));
  EXPECT_EQ(o.GetText("k"), "1");
  EXPECT_FALSE(o.SetJson("k", "0"));
  EXPECT_EQ(o.GetText("k"), "0");
  EXPECT_FALSE(o.SetJson("missing.x", "1"));
  EXPECT_TRUE(o.SetJson("a.x[3]", "true"));
  EXPECT_EQ(o.GetJsonText("a.x"), R"([1,{"y":null},null,true])");
}

TEST(JsonObjectEdit, AddMember) {
  JsonObject o = Parsed(R"({"n":5,"arr":["a"],"o":{"k":1}})");
  EXPECT_TRUE(o.AddMember("x", "n"));
  EXPECT_EQ(o.GetJsonText("n"), R"(["x"])");
  EXPECT_TRUE(o.AddMember("b", "arr"));
  EXPECT_TRUE(o.AddMember("first", "arr", false, true));
  EXPECT_TRUE(o.AddMember(R"({"k":[1]})", "arr", true));
  EXPECT_TRUE(o.AddMember("12", "arr", true));
  EXPECT_EQ(o.GetJsonText("arr"), R"(["first","a","b",{"k":[1]},12])");
  EXPECT_TRUE(o.AddMember("v", "o"));
  EXPECT_EQ(o.GetJsonText("o"), R"(["v"])");
  EXPECT_TRUE(o.AddMember("v", "fresh"));
  EXPECT_EQ(o.GetJsonText("fresh"), R"(["v"])");
  // Backslash sequences in a plain value read as script escapes.
  EXPECT_TRUE(o.AddMember("a\\tb\\q", "esc"));
  EXPECT_EQ(o.GetMemberText(0, "esc"), "a\tbq");

  const Text before = o.ToText();
  EXPECT_FALSE(o.AddMember("it's", "arr"));
  EXPECT_FALSE(o.AddMember("it's", "n2"));
  EXPECT_FALSE(o.AddMember("line\nbreak", "arr"));
  EXPECT_FALSE(o.AddMember("{bad", "arr", true));
  EXPECT_FALSE(o.AddMember("x", "missing.y"));
  EXPECT_EQ(o.ToText(), before);

  ReplyJsonObject r;
  r.Parse(R"({"arr":[1]})");
  EXPECT_TRUE(r.AddMember("2", "arr", true));
  EXPECT_EQ(r.ToText(), R"({"arr":[1,2]})");
}

TEST(JsonObjectEdit, MemberAccessByIndex) {
  JsonObject o = Parsed(R"({"arr":["s",5,{"k":"v"},null],"o":{"1":"one"}})");
  EXPECT_EQ(o.GetMemberText(0, "arr"), "s");
  EXPECT_EQ(o.GetMemberText(1, "arr"), "");
  EXPECT_EQ(o.GetMemberText(1, "arr", true), "5");
  EXPECT_EQ(o.GetMemberText(2, "arr", true), R"({"k":"v"})");
  EXPECT_EQ(o.GetMemberText(9, "arr", true), "");
  EXPECT_EQ(o.GetMemberText(1, "o"), "one");
  EXPECT_EQ(o.GetMemberObject(2, "arr").GetText("k"), "v");
  EXPECT_EQ(o.GetMemberObject(3, "arr").ToText(), "null");
  EXPECT_EQ(o.GetMemberObject(9, "arr").ToText(), "");
  EXPECT_EQ(o.GetMemberObject(0, "arr").ToText(), "null");  // plain words
}

TEST(JsonObjectEdit, SetMember) {
  JsonObject o = Parsed(R"({"arr":[1],"o":{}})");
  EXPECT_TRUE(o.SetMember(3, "arr", "x"));
  EXPECT_EQ(o.GetJsonText("arr"), R"([1,null,null,"x"])");
  EXPECT_EQ(o.GetCount("arr"), 4);
  EXPECT_TRUE(o.SetMember(0, "arr", "[2]", true));
  EXPECT_TRUE(o.SetMember(2, "o", "two"));
  EXPECT_EQ(o.ToText(), R"({"arr":[[2],null,null,"x"],"o":{"2":"two"}})");
  EXPECT_FALSE(o.SetMember(0, "arr", "it's"));
  EXPECT_FALSE(o.SetMember(0, "missing", "x"));
  EXPECT_FALSE(o.SetMember(5000000, "arr", "x"));  // would allocate a huge gap
  EXPECT_EQ(o.GetCount("arr"), 4);
}

TEST(JsonObjectEdit, RemoveMember) {
  const struct {
    long index;
    bool result;
    const char* after;
  } cases[] = {
      {0, true, "[2,3,4]"},    {-1, true, "[1,2,3]"},  {2, true, "[1,2,4]"},
      {4, false, "[1,2,3,4]"}, {-10, true, "[2,3,4]"}, {-4, true, "[2,3,4]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.index);
    JsonObject o = Parsed(R"({"a":[1,2,3,4]})");
    EXPECT_EQ(o.RemoveMember(c.index, "a"), c.result);
    EXPECT_EQ(o.GetJsonText("a"), c.after);
  }
  JsonObject o = Parsed(R"({"o":{"0":1}})");
  EXPECT_FALSE(o.RemoveMember(0, "o"));
  EXPECT_FALSE(o.RemoveMember(0, "missing"));
  EXPECT_EQ(o.ToText(), R"({"o":{"0":1}})");
}

TEST(JsonObjectEdit, Delete) {
  JsonObject o = Parsed(R"({"arr":[1,2],"o":{"a":1,"b":2},"s":"x"})");
  EXPECT_TRUE(o.Delete("arr[0]"));
  EXPECT_EQ(o.GetJsonText("arr"), "[null,2]");
  EXPECT_EQ(o.GetCount("arr"), 2);
  EXPECT_EQ(o.GetText("arr"), ",2");
  EXPECT_TRUE(o.Delete("o.a"));
  EXPECT_TRUE(o.Delete("o.nothing"));
  EXPECT_TRUE(o.Delete("arr[7]"));
  EXPECT_TRUE(o.Delete("s.x"));
  EXPECT_FALSE(o.Delete(""));
  EXPECT_FALSE(o.Delete("da"));
  EXPECT_FALSE(o.Delete("missing.x"));
  EXPECT_FALSE(o.Delete("arr.length"));
  EXPECT_FALSE(o.Delete("a[["));
  EXPECT_EQ(o.ToText(), R"({"arr":[null,2],"o":{"b":2},"s":"x"})");
  std::vector<Text> values;
  EXPECT_EQ(o.GetNodeValues(values, "arr"), 1);  // the hole is not listed
}

TEST(JsonObjectEdit, SetNumber) {
  const struct {
    double number;
    bool result;
    const char* json;
  } cases[] = {
      {12.5, true, "12.5"},      {1e21, true, "1e+21"},          {-0.0, false, "0"},
      {0.1, true, "0.1"},        {1.5e-7, true, "1.5e-7"},       {NAN, true, "null"},
      {-INFINITY, true, "null"}, {123456789, true, "123456789"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.json);
    JsonObject o;
    EXPECT_EQ(o.SetNumber("n", c.number), c.result);
    EXPECT_EQ(o.GetJsonText("n"), c.json);
  }
  JsonObject o;
  EXPECT_FALSE(o.SetNumber("missing.n", 1));
  EXPECT_EQ(o.GetText("n"), "");
  o.SetNumber("n", -0.0);
  EXPECT_FALSE(std::signbit(o.GetNumber("n")));
}

TEST(JsonObjectEdit, GetNumber) {
  JsonObject o =
      Parsed(R"({"t":true,"f":false,"n":3.25,"s":"12.5","sp":" 7 ","neg":"-1e3","w":"12abc",)"
             R"("e":"","o":{},"a":[4],"z":null,"hex":"0x10"})");
  const std::pair<const char*, double> cases[] = {
      {"t", -1},      {"f", 0},   {"n", 3.25}, {"s", 12.5},   {"sp", 7},
      {"neg", -1000}, {"w", 0},   {"e", 0},    {"o", 0},      {"a", 0},
      {"z", 0},       {"hex", 0}, {"none", 0}, {"none.x", 0}, {"a.length", 1},
  };
  for (const auto& [path, number] : cases) EXPECT_EQ(o.GetNumber(path), number) << path;
}

TEST(JsonObjectEdit, ClearAndExists) {
  JsonObject o = Parsed(R"({"a":{"b":0},"z":null})");
  EXPECT_TRUE(o.Exists("a.b"));
  EXPECT_TRUE(o.Exists(""));
  EXPECT_FALSE(o.Exists("z"));
  EXPECT_FALSE(o.Exists("a.c"));
  EXPECT_FALSE(o.Exists("q.c"));
  EXPECT_TRUE(o.Clear());
  EXPECT_EQ(o.ToText(), "{}");
}

}  // namespace
}  // namespace quillet
