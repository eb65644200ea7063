#include "script/expressions.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace torvel {
namespace {

// A store with a few known values; every expected value below is worked out by hand from them.
VarStore MakeStore() {
  VarStore s;
  s.V(0) = 3;
  s.V(1) = 5;
  s.V(2) = -7;
  s.V(3) = 5000;  // a pointer beyond the store
  s.V(4) = -1;    // a pointer before it
  s.V(5) = 2010;  // points at S010
  s.S(10) = 77;
  s.G(3) = 9;
  s.E.Set(10);
  s.F.Set(20);
  s.T.Set(1234);
  return s;
}

struct ValueCase {
  const char* name;
  std::string_view text;
  int32_t expected;
};

class EvaluateTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(EvaluateTest, GivesValue) {
  VarStore s = MakeStore();
  RandomGenerator random;
  EXPECT_EQ(Evaluate(GetParam().text, s, random), GetParam().expected) << GetParam().text;
}

const ValueCase kValueCases[] = {
    {"Empty", "", 0},
    {"LeftToRight", "2+3*4", 20},
    {"DivideByZero", "7/0", 0},
    {"RemainderByZero", "7%0", 0},
    {"NegativeRemainder", "-3%2", -1},
    {"RemainderSignOfLeft", "9%V002", 2},
    {"NoNegativeOperands", "7%-2", -2},
    {"QuotientTruncates", "-7/2", -3},
    {"LeadingSigns", "--5", -5},
    {"OperatorAfterOperator", "2*-3", -3},
    {"SumWraps", "2147483647+1", INT_MIN},
    {"ProductWraps", "65536*65536", 0},
    {"DigitsWrap", "4294967295", -1},
    {"MinByMinusOne", "0-2147483647-1/V004", INT_MIN},
    {"MinRemainderMinusOne", "0-2147483647-1%V004", 0},
    {"StoryVariable", "V001+1", 6},
    {"SystemVariable", "S010", 77},
    {"GlobalVariable", "G3*2", 18},
    {"Pointer", "P005", 77},
    {"PointerToStory", "P001", 2010},
    {"PointerBeyondStore", "P003", 0},
    {"PointerBeforeStore", "P004", 0},
    {"FlagSet", "E010", 1},
    {"FlagClear", "E011", 0},
    {"FlagSum", "F020+T1234", 2},
    {"OperandReplaces", "5V002", -7},
    {"DigitsAfterOperand", "V0015", 55},
    {"ShortOperandAtEnd", "V01", 5},
    {"BareOperandAtEnd", "V", 3},
    {"ShortOperandBeforeTerminator", "V01=4", 5},
    {"BitwiseAnd", "6_&3", 2},
    {"BitwiseOr", "6_|3", 7},
    {"BitwiseXor", "6_X3", 5},
    {"UnknownUnderscore", "6_Y3", 0},
    {"UnderscoreAtEnd", "6_", 0},
    {"StopsAtEquals", "V001=3", 5},
    {"StopsAtComma", "1,2", 1},
    {"StopsAtBracket", "1]2", 1},
    {"StopsAtBang", "1!2", 1},
    {"StopsAtBar", "1|2", 1},
    {"StopsAtNul",
     std::string_view("4\0"
                      "5",
                      3),
     4},
    {"BlankIsInvalid", "V001 +1", 0},
    {"LowerCaseIsInvalid", "v001", 0},
    {"ParenthesisIsInvalid", "(1)", 0},
    {"RandomModuloZero", "R0", 0},
    {"RandomModuloOne", "R1", 0},
};

INSTANTIATE_TEST_SUITE_P(Values, EvaluateTest, ::testing::ValuesIn(kValueCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EvaluateRandom, TakesTheNextDrawModuloN) {
  VarStore s;
  RandomGenerator random, twin;
  random.Seed(99);
  twin.Seed(99);
  for (int i = 0; i < 20; ++i) {
    int expected = twin.Next() % 100;
    ASSERT_EQ(Evaluate("R100", s, random), expected);
  }
  // A run of at most seven digits belongs to R; an eighth digit is the operand's own.
  twin.Next();
  EXPECT_EQ(Evaluate("R00000011", s, random), 1);
}

TEST(RandomGenerator, DeliversFifteenBitValues) {
  RandomGenerator random;
  random.Seed(1);
  // state = 1 × 214013 + 2531011 = 2745024; (2745024 >> 16) & 0x7FFF = 41.
  EXPECT_EQ(random.Next(), 41);
  for (int i = 0; i < 1000; ++i) {
    int v = random.Next();
    ASSERT_GE(v, 0);
    ASSERT_LE(v, 32767);
  }
}

struct ConditionCase {
  const char* name;
  const char* text;
  bool expected;
};

class ConditionTest : public ::testing::TestWithParam<ConditionCase> {};

TEST_P(ConditionTest, GivesTruth) {
  VarStore s = MakeStore();
  RandomGenerator random;
  EXPECT_EQ(Condition(GetParam().text, s, random), GetParam().expected) << GetParam().text;
}

const ConditionCase kConditionCases[] = {
    {"Equal", "(V001=5)", true},
    {"EqualFalse", "(V001=4)", false},
    {"DoubleEqual", "(V001==5)", true},
    {"NotEqual", "(V001!=5)", false},
    {"BangAlone", "(V001!5)", false},
    {"BangAloneTrue", "(V001!4)", true},
    {"Less", "(V001<6)", true},
    {"LessOrEqual", "(V001<=5)", true},
    {"Greater", "(V001>5)", false},
    {"GreaterOrEqual", "(V001>=6)", false},
    {"LowerCaseWithBlanks", "( v001 = 5 )", true},
    {"FirstFalseBeforeAnd", "(V001=4&V001=5|V001=5)", false},
    {"FirstTrueBeforeOr", "(V001=5|V001=4&V001=4)", true},
    {"AndThenOr", "(V001=5&V001=4|V001=5)", true},
    {"AndBothTrue", "(V001=5&S010=77)", true},
    {"NoOperator", "(V001)", false},
    {"Empty", "()", false},
    {"NothingAtAll", "", false},
    {"WithoutParentheses", "V001=5", true},
    {"MissingClose", "(V001=5", true},
    {"StopsAtClose", "(V001=5)|1=1", true},
    {"StopsAtCloseFalse", "(V001=4)|1=1", false},
    {"EmptyRight", "(V001=)", false},
    {"EmptyRightZero", "(V000-3=)", true},
    {"ShortOperand", "(V01=5)", true},
    {"BitwiseInCondition", "(V001_&4=4)", true},
    {"Pointer", "(P005=77)", true},
    {"NegativeCompare", "(V002<0)", true},
};

INSTANTIATE_TEST_SUITE_P(Conditions, ConditionTest, ::testing::ValuesIn(kConditionCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ConditionLimits, ReadsAtMostFourHundredCharacters) {
  VarStore s;
  RandomGenerator random;
  // The comparison lies beyond the copied part, so only a bare operand remains.
  EXPECT_FALSE(Condition("(" + std::string(450, '0') + "=0)", s, random));
  EXPECT_TRUE(Condition("(" + std::string(390, '0') + "=0)", s, random));
}

TEST(Assign, NormalisesCaseAndBlanks) {
  VarStore s = MakeStore();
  RandomGenerator random;
  Assign("v001 = v001 + 1", s, random);
  EXPECT_EQ(s.V(1), 6);
  Assign("V006\t=\t2", s, random);
  EXPECT_EQ(s.V(6), 2);
  // Full-width blanks (0x81 0x40) go as well.
  Assign(
      "V007\x81\x40=\x81\x40"
      "3",
      s, random);
  EXPECT_EQ(s.V(7), 3);
  EXPECT_EQ(NormaliseAssignments("a b\x81\x40\x82\xA0"), "AB\x82\xA0");
}

TEST(Assign, StoresIntoEveryTarget) {
  VarStore s = MakeStore();
  RandomGenerator random;
  Assign("V010=1;S200=2;G4=3;P005=4;T0007=1;F001=1;E002=1", s, random);
  EXPECT_EQ(s.V(10), 1);
  EXPECT_EQ(s.S(200), 2);
  EXPECT_EQ(s.G(4), 3);
  EXPECT_EQ(s.S(10), 4);  // through V005 = 2010
  EXPECT_TRUE(s.T.Test(7));
  EXPECT_TRUE(s.F.Test(1));
  EXPECT_TRUE(s.E.Test(2));
  Assign("T1234=0;F020=0;E010=0", s, random);
  EXPECT_FALSE(s.T.Test(1234));
  EXPECT_FALSE(s.F.Test(20));
  EXPECT_FALSE(s.E.Test(10));
}

TEST(Assign, FlagValuesOtherThanZeroAndOneChangeNothing) {
  VarStore s = MakeStore();
  RandomGenerator random;
  Assign("E010=2;E011=2;F020=-1", s, random);
  EXPECT_TRUE(s.E.Test(10));
  EXPECT_FALSE(s.E.Test(11));
  EXPECT_TRUE(s.F.Test(20));
}

TEST(Assign, AnySeparatorIsAccepted) {
  VarStore s;
  RandomGenerator random;
  Assign("V001:7;G1#8", s, random);
  EXPECT_EQ(s.V(1), 7);
  EXPECT_EQ(s.G(1), 8);
}

TEST(Assign, InvalidTargetsChangeNothing) {
  const char* lists[] = {"V01=3", "X001=3", "V001", "VA01=3", "T123=1", "G=1", "P003=9", "P004=9", ""};
  for (const char* list : lists) {
    SCOPED_TRACE(list);
    VarStore s = MakeStore();
    const VarStore before = MakeStore();
    RandomGenerator random;
    Assign(list, s, random);
    EXPECT_EQ(s.vars, before.vars);
    EXPECT_EQ(s.T.Bytes(), before.T.Bytes());
    EXPECT_EQ(s.E.Bytes(), before.E.Bytes());
  }
}

TEST(Assign, ListGoesOnAfterAnInvalidOneAndStopsAtNul) {
  VarStore s;
  RandomGenerator random;
  Assign("V001=1;;X=2;V002=2", s, random);
  EXPECT_EQ(s.V(1), 1);
  EXPECT_EQ(s.V(2), 2);
  Assign(std::string("V003=3\0;V004=4", 14), s, random);
  EXPECT_EQ(s.V(3), 3);
  EXPECT_EQ(s.V(4), 0);
}

TEST(Assign, ReportsMenuVariables) {
  VarStore s = MakeStore();
  RandomGenerator random;
  EXPECT_TRUE(Assign("S000=1", s, random).menusChanged);
  EXPECT_TRUE(Assign("V001=2;s028=1", s, random).menusChanged);
  EXPECT_FALSE(Assign("S001=1;V000=2", s, random).menusChanged);
  s.V(9) = 2028;
  EXPECT_TRUE(Assign("P009=0", s, random).menusChanged);
}

}  // namespace
}  // namespace torvel
