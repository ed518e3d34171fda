#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

namespace zol::report {

// What a name in an expression stands for, once the engine has bound it to the variables and
// the fields of the master data source.
enum class NameRef { Unbound, Variable, Field, Page, Pages, Today, Row };

// One node of a parsed expression. Names are bound by the engine before a report is prepared;
// a function the engine does not know (UserCall) keeps its arguments as written, because the
// program's handler receives them unevaluated.
struct ExprNode
{
    enum class Kind { Literal, Name, Unary, Binary, Call, UserCall };
    enum Op { Neg, Not, Add, Sub, Mul, Div, Eq, Ne, Lt, Le, Gt, Ge, And, Or };

    Kind kind = Kind::Literal;
    QVariant value; // Literal; a bound Variable's value
    QString name;   // Name, Call, UserCall (as written)
    Op op = Add;    // Unary, Binary
    int column = 0; // 1-based position in the expression text
    std::vector<std::unique_ptr<ExprNode>> args;
    QStringList argTexts; // UserCall: up to three argument texts, trimmed
    QString source;       // UserCall: the whole call as written

    NameRef ref = NameRef::Unbound;
    int fieldIndex = -1;
    bool qualified = false; // written frDB1.NAME: a field of the master data source only
};

using ExprPtr = std::shared_ptr<ExprNode>;

// Where a parse or evaluation failed: a message for the user and the 1-based column in the text.
struct ExprError
{
    QString message;
    int column = 0;
};

// The expression language of the templates (documented in docs/report-templates.md):
// literals 'text' and 12 / 1.5, names, + - * /, comparisons, and / or / not, parentheses,
// the built-in functions and calls of functions the engine does not know.
ExprPtr parseExpression(const QString& text, ExprError* error);

// Visits every node that needs binding (names), user calls included, not their argument texts.
void forEachName(ExprNode& node, const std::function<void(ExprNode&)>& visit);
// True when the expression uses the page number or the total of pages: its value is known only
// once the whole report is laid out.
bool usesPageNumbers(const ExprNode& node);

// What evaluation asks of the engine.
class EvalContext
{
public:
    virtual ~EvalContext() = default;
    virtual QVariant fieldValue(int fieldIndex) const = 0;
    virtual QVariant special(NameRef ref) const = 0;
    // A function the engine does not know; result comes in holding the engine's initial value.
    virtual bool userFunction(const ExprNode& call, QVariant& result, QString* error) = 0;
};

bool evaluate(const ExprNode& node, EvalContext& context, QVariant& result, ExprError* error);

// How a value is printed: texts as they are, whole numbers in decimal digits, other numbers with
// a decimal comma, dates as dd/mm/yyyy, a missing value as the empty text. Never locale-dependent.
QString displayText(const QVariant& value);

// The built-in functions, upper case, for the documentation and the checks.
QStringList builtinFunctions();

} // namespace zol::report
