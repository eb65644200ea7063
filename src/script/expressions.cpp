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

void AssignOne(std::string_view a, VarStore& vars, RandomGenerator& random, AssignResult& result) {
  if (a.empty()) return;
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
    default: return;
  }
  // The target needs all its digits and the separator after them.
  const size_t separator = 1 + static_cast<size_t>(digits);
  if (a.size() <= separator) return;
  for (size_t i = 1; i < separator; ++i) {
    if (!IsDigit(a[i])) return;
  }
  size_t pos = 1;
  const int n = ReadNumber(a, pos, digits);
  const int32_t value = Evaluate(a.substr(separator + 1), vars, random);
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

int32_t Evaluate(std::string_view text, const VarStore& vars, RandomGenerator& random) {
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
        if (op != '&' && op != '|' && op != 'X') return 0;
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
      default: return 0;
    }
  }
  return Apply(accumulator, pending, static_cast<int32_t>(operand));
}

bool Condition(std::string_view text, const VarStore& vars, RandomGenerator& random) {
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
    const int32_t left = Evaluate(s.substr(pos), vars, random);
    pos = NextTerminator(s, pos);
    if (pos >= s.size()) return result;
    const char op = s[pos];
    if (op == '=' || op == '!' || op == '<' || op == '>') {
      const bool orEqual = pos + 1 < s.size() && s[pos + 1] == '=';
      pos += orEqual ? 2 : 1;
      const int32_t right = Evaluate(s.substr(pos), vars, random);
      pos = NextTerminator(s, pos);
      result = Compare(left, op, orEqual, right);
      if (pos >= s.size()) return result;
    }
    const char joint = s[pos];
    if (joint == '&' && !result) return false;
    if (joint == '|' && result) return true;
    ++pos;
  }
  return result;
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

}  // namespace torvel
