#pragma once
// The expression language of scripts: values (`Evaluate`), conditions (`Condition`) and
// assignment lists (`Assign`) over the variable store. Free of the engine object, so it can be
// tested, benchmarked and fuzzed alone.
#include <cstdint>
#include <string>
#include <string_view>

#include "script/random.h"
#include "script/variables.h"

namespace torvel {

// The value of an expression, read strictly left to right up to the end of the text or its
// first terminator. Operand letters must be upper case; any character the language does not
// know makes the whole value 0. Arithmetic wraps at 32 bits.
int32_t Evaluate(std::string_view text, const VarStore& vars, RandomGenerator& random);

// The value of a condition such as "(V001=5&S026!0)": comparisons joined by "&" and "|",
// read left to right with equal precedence and cut short from the left.
bool Condition(std::string_view text, const VarStore& vars, RandomGenerator& random);

// What an assignment list changed that the engine must follow up.
struct AssignResult {
  bool menusChanged = false;  // S000 or S028 was assigned
};

// Runs an assignment list such as "v001 = v001 + 1; E010=1" (normalised first: upper case, no
// blanks). Invalid targets and flag values other than 0 and 1 change nothing.
AssignResult Assign(std::string_view list, VarStore& vars, RandomGenerator& random);

// The normalisation applied before an assignment list runs: ASCII letters to upper case;
// blanks, tabs and full-width blanks removed (two-byte characters kept whole).
std::string NormaliseAssignments(std::string_view list);

// Checks for authors' tools: whether the evaluator reads every character of an expression,
// whether a condition is parenthesised with comparisons the evaluator reads joined by "&" and
// "|", and whether every assignment of a list names a target it can store to.
bool ExpressionWellFormed(std::string_view text);
bool ConditionWellFormed(std::string_view text);
bool AssignmentsWellFormed(std::string_view list);

}  // namespace torvel
