// The expression evaluator, the condition evaluator and assignment lists.
#include "script/expressions.h"

#include "resources/sjis.h"

namespace torvel {

namespace {

// A condition is read from a copy of at most this many characters.
constexpr size_t kConditionMax = 400;
// "R" takes a run of at most this many digits.
constexpr int kRandomDigitsMax = 7;

constexpr bool IsTerminator(char c) {
  switch (c) {
    case '\0':
    case '!':
    case '&':
    case ',':
    case ';':
    case '<':
    case '=':
    case '>':
    case ']':
    case '|': return true;
    default: return false;
  }
}

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// One step of the left-to-right evaluation. Sums, differences and products wrap at 32 bits;
// the quotient truncates towards zero, the remainder takes the sign of the left side, and the
// two cases that would trap (a zero divisor, INT_MIN by -1) have fixed results.
int32_t Apply(int32_t left, char op, int32_t right) {
  const uint32_t a = static_cast<uint32_t>(left);
  const uint32_t b = static_cast<uint32_t>(right);
  switch (op) {
    case '+': return static_cast<int32_t>(a + b);
    case '-': return static_cast<int32_t>(a - b);
    case '*': return static_cast<int32_t>(a * b);
    case '/':
      if (right == 0) return 0;
      if (right == -1) return static_cast<int32_t>(0u - a);  // INT_MIN / -1 stays INT_MIN
      return left / right;
    case '%':
      if (right == 0 || right == -1) return 0;
      return left % right;
    case '&': return static_cast<int32_t>(a & b);
    case '|': return static_cast<int32_t>(a | b);
    case 'X': return static_cast<int32_t>(a ^ b);
    default: return left;
  }
}

// Reads at most `count` digits from `pos`. The number ends early at the end of the text or at a
// character that is not a digit, which is then read as part of the expression.
int ReadNumber(std::string_view text, size_t& pos, int count) {
  int n = 0;
  for (int i = 0; i < count && pos < text.size() && IsDigit(text[pos]); ++i, ++pos) n = n * 10 + (text[pos] - '0');
  return n;
}

int32_t ReadVar(const VarStore& vars, int index) {
  return index >= 0 && index < kVarCount ? vars.vars[static_cast<size_t>(index)] : 0;
}

// The first terminator after the operand that starts at `start`: the operand's first character
// is passed over whatever it is, and "_&" and "_|" are operators, not terminators. Never moves
// beyond the end of the text.
size_t NextTerminator(std::string_view text, size_t start) {
  size_t i = start + 1;
  while (i < text.size()) {
    char c = text[i];
    if (c == '_' && i + 1 < text.size() && (text[i + 1] == '&' || text[i + 1] == '|')) {
      i += 2;
      continue;
    }
    if (IsTerminator(c)) return i;
    ++i;
  }
  return text.size();
}

bool Compare(int32_t left, char op, bool orEqual, int32_t right) {
  switch (op) {
    case '=': return left == right;
    case '!': return left != right;
    case '<': return orEqual ? left <= right : left < right;
    case '>': return orEqual ? left >= right : left > right;
    default: return false;
  }
}

int32_t EvaluateText(std::string_view text, const VarStore& vars, RandomGenerator& random, bool* wellFormed);

// One assignment; `wellFormed`, when given, is cleared for a target the list cannot store to or
// an expression the evaluator refuses.
void AssignOne(std::string_view a, VarStore& vars, RandomGenerator& random, AssignResult& result,
               bool* wellFormed = nullptr) {
  auto refuse = [wellFormed] {
    if (wellFormed) *wellFormed = false;
  };
  if (a.empty() || a[0] == ';') return;
  const char letter = a[0];
  int digits;
  switch (letter) {
    case 'V':
    case 'S':
    case 'P':
    case 'E':
    case 'F': digits = 3; break;
    case 'T': digits = 4; break;
    case 'G': digits = 1; break;
    default: refuse(); return;
  }
  // The target needs all its digits and the separator after them.
  const size_t separator = 1 + static_cast<size_t>(digits);
  if (a.size() <= separator) return refuse();
  for (size_t i = 1; i < separator; ++i) {
    if (!IsDigit(a[i])) return refuse();
  }
  size_t pos = 1;
  const int n = ReadNumber(a, pos, digits);
  const int32_t value = EvaluateText(a.substr(separator + 1), vars, random, wellFormed);
  switch (letter) {
    case 'V': vars.V(n) = value; break;
    case 'S':
      vars.S(n) = value;
      if (n == 0 || n == 28) result.menusChanged = true;
      break;
    case 'G': vars.G(n) = value; break;
    case 'P': {
      const int32_t index = vars.V(n);
      if (index < 0 || index >= kVarCount) return;
      vars.vars[static_cast<size_t>(index)] = value;
      if (index == kSystemVarBase || index == kSystemVarBase + 28) result.menusChanged = true;
      break;
    }
    case 'E':
    case 'F':
    case 'T': {
      if (value != 0 && value != 1) return;
      FlagSet& flags = letter == 'E' ? vars.E : letter == 'F' ? vars.F : vars.T;
      flags.Set(n, value == 1);
      break;
    }
    default: break;
  }
}

}  // namespace

namespace {

// The evaluator; `wellFormed`, when given, is cleared where the text holds a character the
// language does not know (the cases that make the value 0 at once).
int32_t EvaluateText(std::string_view text, const VarStore& vars, RandomGenerator& random, bool* wellFormed) {
  auto refuse = [wellFormed] {
    if (wellFormed) *wellFormed = false;
    return 0;
  };
  int32_t accumulator = 0;
  uint32_t operand = 0;
  char pending = '+';
  size_t pos = 0;
  while (pos < text.size()) {
    const char c = text[pos];
    if (IsTerminator(c)) break;
    ++pos;
    if (IsDigit(c)) {
      operand = operand * 10u + static_cast<uint32_t>(c - '0');
      continue;
    }
    switch (c) {
      case '+':
      case '-':
      case '*':
      case '/':
      case '%':
        accumulator = Apply(accumulator, pending, static_cast<int32_t>(operand));
        operand = 0;
        pending = c;
        break;
      case '_': {
        const char op = pos < text.size() ? text[pos] : '\0';
        if (op != '&' && op != '|' && op != 'X') return refuse();
        ++pos;
        accumulator = Apply(accumulator, pending, static_cast<int32_t>(operand));
        operand = 0;
        pending = op;
        break;
      }
      case 'V': operand = static_cast<uint32_t>(vars.V(ReadNumber(text, pos, 3))); break;
      case 'S': operand = static_cast<uint32_t>(vars.S(ReadNumber(text, pos, 3))); break;
      case 'G': operand = static_cast<uint32_t>(vars.G(ReadNumber(text, pos, 1))); break;
      case 'P': operand = static_cast<uint32_t>(ReadVar(vars, vars.V(ReadNumber(text, pos, 3)))); break;
      case 'E': operand = vars.E.Test(ReadNumber(text, pos, 3)) ? 1u : 0u; break;
      case 'F': operand = vars.F.Test(ReadNumber(text, pos, 3)) ? 1u : 0u; break;
      case 'T': operand = vars.T.Test(ReadNumber(text, pos, 4)) ? 1u : 0u; break;
      case 'R': {
        const int n = ReadNumber(text, pos, kRandomDigitsMax);
        const int draw = random.Next();
        operand = n > 0 ? static_cast<uint32_t>(draw % n) : 0u;
        break;
      }
      default: return refuse();
    }
  }
  return Apply(accumulator, pending, static_cast<int32_t>(operand));
}

}  // namespace

int32_t Evaluate(std::string_view text, const VarStore& vars, RandomGenerator& random) {
  return EvaluateText(text, vars, random, nullptr);
}

namespace {

// The condition evaluator; with `wellFormed` given it reads every comparison (no cutting short)
// and clears the flag at an operand the evaluator refuses or a joint that is not "&" or "|".
bool ConditionText(std::string_view text, const VarStore& vars, RandomGenerator& random, bool* wellFormed) {
  char copy[kConditionMax];
  size_t length = 0;
  size_t i = !text.empty() && text[0] == '(' ? 1 : 0;
  for (; i < text.size() && length < kConditionMax; ++i) {
    char c = text[i];
    if (c == ')' || c == '\0') break;
    if (c == ' ' || c == '\t') continue;
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    copy[length++] = c;
  }
  const std::string_view s(copy, length);

  bool result = false;
  size_t pos = 0;
  while (pos < s.size()) {
    const int32_t left = EvaluateText(s.substr(pos), vars, random, wellFormed);
    pos = NextTerminator(s, pos);
    if (pos >= s.size()) return result;
    const char op = s[pos];
    if (op == '=' || op == '!' || op == '<' || op == '>') {
      const bool orEqual = pos + 1 < s.size() && s[pos + 1] == '=';
      pos += orEqual ? 2 : 1;
      const int32_t right = EvaluateText(s.substr(pos), vars, random, wellFormed);
      pos = NextTerminator(s, pos);
      result = Compare(left, op, orEqual, right);
      if (pos >= s.size()) return result;
    }
    const char joint = s[pos];
    if (wellFormed) {
      if (joint != '&' && joint != '|') *wellFormed = false;
    } else {
      if (joint == '&' && !result) return false;
      if (joint == '|' && result) return true;
    }
    ++pos;
  }
  return result;
}

}  // namespace

bool Condition(std::string_view text, const VarStore& vars, RandomGenerator& random) {
  return ConditionText(text, vars, random, nullptr);
}

bool ConditionWellFormed(std::string_view text) {
  const size_t close = text.find(')');
  if (text.empty() || text[0] != '(' || close == std::string_view::npos || close > kConditionMax) return false;
  bool blank = true;
  for (size_t i = 1; i < close; ++i) blank = blank && (text[i] == ' ' || text[i] == '\t');
  if (blank) return false;
  VarStore vars;
  RandomGenerator random;
  bool wellFormed = true;
  ConditionText(text, vars, random, &wellFormed);
  return wellFormed;
}

bool ExpressionWellFormed(std::string_view text) {
  VarStore vars;
  RandomGenerator random;
  bool wellFormed = true;
  EvaluateText(text, vars, random, &wellFormed);
  return wellFormed;
}

std::string NormaliseAssignments(std::string_view list) {
  std::string out;
  out.reserve(list.size());
  for (size_t i = 0; i < list.size();) {
    const size_t n = SjisCharLength(list, i);
    if (n == 2) {
      const bool fullWidthBlank = static_cast<uint8_t>(list[i]) == 0x81 && static_cast<uint8_t>(list[i + 1]) == 0x40;
      if (!fullWidthBlank) out.append(list.substr(i, 2));
    } else {
      char c = list[i];
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      if (c != ' ' && c != '\t') out += c;
    }
    i += n;
  }
  return out;
}

AssignResult Assign(std::string_view list, VarStore& vars, RandomGenerator& random) {
  AssignResult result;
  const std::string text = NormaliseAssignments(list.substr(0, list.find('\0')));
  std::string_view rest = text;
  for (;;) {
    AssignOne(rest, vars, random, result);
    const size_t semicolon = rest.find(';');
    if (semicolon == std::string_view::npos) break;
    rest.remove_prefix(semicolon + 1);
  }
  return result;
}

bool AssignmentsWellFormed(std::string_view list) {
  VarStore vars;
  RandomGenerator random;
  AssignResult result;
  bool wellFormed = true;
  const std::string text = NormaliseAssignments(list.substr(0, list.find('\0')));
  if (text.empty()) return false;
  std::string_view rest = text;
  for (;;) {
    AssignOne(rest, vars, random, result, &wellFormed);
    const size_t semicolon = rest.find(';');
    if (semicolon == std::string_view::npos) break;
    rest.remove_prefix(semicolon + 1);
  }
  return wellFormed;
}

}  // namespace torvel
