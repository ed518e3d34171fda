#include "reports/ReportExpression.h"

namespace zol::report {

namespace {

struct Token
{
    enum Type { End, Number, String, Ident, Symbol };
    Type type = End;
    QString text; // identifier, symbol or the string literal's value
    QVariant number;
    int start = 0; // offset in the expression text
    int end = 0;
};

struct BuiltinDef
{
    const char* name;
    int minArgs;
    int maxArgs;
};

const BuiltinDef kBuiltins[] = {
    {"IIF", 3, 3},  {"FORMATDATE", 1, 2}, {"FORMATNUMBER", 1, 2}, {"UPPER", 1, 1}, {"LOWER", 1, 1},
    {"TRIM", 1, 1}, {"LEN", 1, 1},        {"SUBSTR", 2, 3},       {"STR", 1, 1},   {"IFEMPTY", 2, 2},
};

const BuiltinDef* builtin(const QString& name)
{
    for (const BuiltinDef& b : kBuiltins)
        if (name.compare(QLatin1String(b.name), Qt::CaseInsensitive) == 0)
            return &b;
    return nullptr;
}

class Parser
{
public:
    Parser(const QString& text, ExprError* error) : m_text(text), m_error(error) {}

    ExprPtr parse()
    {
        if (!advance())
            return nullptr;
        if (m_tok.type == Token::End)
            return fail(QStringLiteral("espressione vuota"), 0);
        std::unique_ptr<ExprNode> root = orExpr();
        if (!root)
            return nullptr;
        if (m_tok.type != Token::End)
            return fail(QStringLiteral("testo inatteso \"%1\"").arg(m_text.mid(m_tok.start, m_tok.end - m_tok.start)),
                        m_tok.start);
        return ExprPtr(root.release());
    }

private:
    std::nullptr_t fail(const QString& message, int offset)
    {
        if (m_error && m_error->message.isEmpty()) {
            m_error->message = message;
            m_error->column = offset + 1;
        }
        m_failed = true;
        return nullptr;
    }

    bool advance()
    {
        int i = m_pos;
        while (i < m_text.size() && m_text.at(i).isSpace())
            ++i;
        m_tok = Token();
        m_tok.start = i;
        if (i >= m_text.size()) {
            m_tok.type = Token::End;
            m_tok.end = m_pos = i;
            return true;
        }
        const QChar c = m_text.at(i);
        if (c.isDigit()) {
            int j = i;
            while (j < m_text.size() && m_text.at(j).isDigit())
                ++j;
            bool isReal = false;
            if (j + 1 < m_text.size() && m_text.at(j) == QLatin1Char('.') && m_text.at(j + 1).isDigit()) {
                isReal = true;
                ++j;
                while (j < m_text.size() && m_text.at(j).isDigit())
                    ++j;
            }
            const QString digits = m_text.mid(i, j - i);
            bool ok = false;
            m_tok.type = Token::Number;
            m_tok.number = isReal ? QVariant(digits.toDouble(&ok)) : QVariant(digits.toLongLong(&ok));
            if (!ok)
                return fail(QStringLiteral("numero non valido \"%1\"").arg(digits), i), false;
            m_tok.end = m_pos = j;
            return true;
        }
        if (c == QLatin1Char('\'')) {
            QString value;
            int j = i + 1;
            for (;;) {
                if (j >= m_text.size())
                    return fail(QStringLiteral("testo tra apici non chiuso"), i), false;
                if (m_text.at(j) == QLatin1Char('\'')) {
                    if (j + 1 < m_text.size() && m_text.at(j + 1) == QLatin1Char('\'')) {
                        value += QLatin1Char('\'');
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                value += m_text.at(j++);
            }
            m_tok.type = Token::String;
            m_tok.text = value;
            m_tok.end = m_pos = j;
            return true;
        }
        if (c.isLetter() || c == QLatin1Char('_')) {
            int j = i;
            while (j < m_text.size() && (m_text.at(j).isLetterOrNumber() || m_text.at(j) == QLatin1Char('_')))
                ++j;
            m_tok.type = Token::Ident;
            m_tok.text = m_text.mid(i, j - i);
            m_tok.end = m_pos = j;
            return true;
        }
        static const char* const twoChar[] = {"<>", "<=", ">=", "!="};
        for (const char* s : twoChar) {
            if (m_text.mid(i, 2) == QLatin1String(s)) {
                m_tok.type = Token::Symbol;
                m_tok.text = QString::fromLatin1(s);
                m_tok.end = m_pos = i + 2;
                return true;
            }
        }
        if (QStringLiteral("+-*/=<>(),.").contains(c)) {
            m_tok.type = Token::Symbol;
            m_tok.text = c;
            m_tok.end = m_pos = i + 1;
            return true;
        }
        return fail(QStringLiteral("carattere inatteso \"%1\"").arg(c), i), false;
    }

    bool isSymbol(const char* s) const { return m_tok.type == Token::Symbol && m_tok.text == QLatin1String(s); }
    bool isKeyword(const char* s) const
    {
        return m_tok.type == Token::Ident && m_tok.text.compare(QLatin1String(s), Qt::CaseInsensitive) == 0;
    }

    static std::unique_ptr<ExprNode> binary(ExprNode::Op op, std::unique_ptr<ExprNode> l, std::unique_ptr<ExprNode> r,
                                            int column)
    {
        auto n = std::make_unique<ExprNode>();
        n->kind = ExprNode::Kind::Binary;
        n->op = op;
        n->column = column;
        n->args.push_back(std::move(l));
        n->args.push_back(std::move(r));
        return n;
    }

    std::unique_ptr<ExprNode> orExpr()
    {
        auto left = andExpr();
        while (left && isKeyword("OR")) {
            const int col = m_tok.start + 1;
            if (!advance())
                return nullptr;
            auto right = andExpr();
            if (!right)
                return nullptr;
            left = binary(ExprNode::Or, std::move(left), std::move(right), col);
        }
        return left;
    }

    std::unique_ptr<ExprNode> andExpr()
    {
        auto left = notExpr();
        while (left && isKeyword("AND")) {
            const int col = m_tok.start + 1;
            if (!advance())
                return nullptr;
            auto right = notExpr();
            if (!right)
                return nullptr;
            left = binary(ExprNode::And, std::move(left), std::move(right), col);
        }
        return left;
    }

    std::unique_ptr<ExprNode> notExpr()
    {
        if (isKeyword("NOT")) {
            auto n = std::make_unique<ExprNode>();
            n->kind = ExprNode::Kind::Unary;
            n->op = ExprNode::Not;
            n->column = m_tok.start + 1;
            if (!advance())
                return nullptr;
            auto operand = notExpr();
            if (!operand)
                return nullptr;
            n->args.push_back(std::move(operand));
            return n;
        }
        return comparison();
    }

    std::unique_ptr<ExprNode> comparison()
    {
        auto left = additive();
        if (!left || m_tok.type != Token::Symbol)
            return left;
        static const struct
        {
            const char* sym;
            ExprNode::Op op;
        } ops[] = {{"=", ExprNode::Eq},  {"<>", ExprNode::Ne}, {"!=", ExprNode::Ne}, {"<", ExprNode::Lt},
                   {"<=", ExprNode::Le}, {">", ExprNode::Gt},  {">=", ExprNode::Ge}};
        for (const auto& o : ops) {
            if (isSymbol(o.sym)) {
                const int col = m_tok.start + 1;
                if (!advance())
                    return nullptr;
                auto right = additive();
                if (!right)
                    return nullptr;
                return binary(o.op, std::move(left), std::move(right), col);
            }
        }
        return left;
    }

    std::unique_ptr<ExprNode> additive()
    {
        auto left = multiplicative();
        while (left && (isSymbol("+") || isSymbol("-"))) {
            const ExprNode::Op op = isSymbol("+") ? ExprNode::Add : ExprNode::Sub;
            const int col = m_tok.start + 1;
            if (!advance())
                return nullptr;
            auto right = multiplicative();
            if (!right)
                return nullptr;
            left = binary(op, std::move(left), std::move(right), col);
        }
        return left;
    }

    std::unique_ptr<ExprNode> multiplicative()
    {
        auto left = unary();
        while (left && (isSymbol("*") || isSymbol("/"))) {
            const ExprNode::Op op = isSymbol("*") ? ExprNode::Mul : ExprNode::Div;
            const int col = m_tok.start + 1;
            if (!advance())
                return nullptr;
            auto right = unary();
            if (!right)
                return nullptr;
            left = binary(op, std::move(left), std::move(right), col);
        }
        return left;
    }

    std::unique_ptr<ExprNode> unary()
    {
        if (isSymbol("-")) {
            auto n = std::make_unique<ExprNode>();
            n->kind = ExprNode::Kind::Unary;
            n->op = ExprNode::Neg;
            n->column = m_tok.start + 1;
            if (!advance())
                return nullptr;
            auto operand = unary();
            if (!operand)
                return nullptr;
            n->args.push_back(std::move(operand));
            return n;
        }
        return primary();
    }

    std::unique_ptr<ExprNode> primary()
    {
        auto n = std::make_unique<ExprNode>();
        n->column = m_tok.start + 1;
        switch (m_tok.type) {
        case Token::Number:
        case Token::String:
            n->kind = ExprNode::Kind::Literal;
            n->value = m_tok.type == Token::Number ? m_tok.number : QVariant(m_tok.text);
            if (!advance())
                return nullptr;
            return n;
        case Token::Symbol:
            if (isSymbol("(")) {
                if (!advance())
                    return nullptr;
                auto inner = orExpr();
                if (!inner)
                    return nullptr;
                if (!isSymbol(")"))
                    return fail(QStringLiteral("manca \")\""), m_tok.start);
                if (!advance())
                    return nullptr;
                return inner;
            }
            break;
        case Token::Ident:
            return nameOrCall(std::move(n));
        case Token::End:
            return fail(QStringLiteral("espressione incompleta"), m_tok.start);
        }
        return fail(QStringLiteral("testo inatteso \"%1\"").arg(m_tok.text), m_tok.start);
    }

    std::unique_ptr<ExprNode> nameOrCall(std::unique_ptr<ExprNode> n)
    {
        const int callStart = m_tok.start;
        n->name = m_tok.text;
        if (!advance())
            return nullptr;
        if (isSymbol(".")) {
            // frDB1.FIELD: a field of the master data source, whatever variables exist.
            if (n->name.compare(QLatin1String("frDB1"), Qt::CaseInsensitive) != 0)
                return fail(QStringLiteral("sorgente dati sconosciuta \"%1\" (si usa frDB1)").arg(n->name), callStart);
            if (!advance())
                return nullptr;
            if (m_tok.type != Token::Ident)
                return fail(QStringLiteral("manca il nome del campo dopo \"frDB1.\""), m_tok.start);
            n->name = m_tok.text;
            n->qualified = true;
            n->kind = ExprNode::Kind::Name;
            if (!advance())
                return nullptr;
            return n;
        }
        if (!isSymbol("(")) {
            n->kind = ExprNode::Kind::Name;
            return n;
        }
        // A call: arguments are parsed (they must be expressions) and kept as written too.
        if (!advance())
            return nullptr;
        if (!isSymbol(")")) {
            for (;;) {
                const int argStart = m_tok.start;
                auto arg = orExpr();
                if (!arg)
                    return nullptr;
                n->argTexts << m_text.mid(argStart, m_tok.start - argStart).trimmed();
                n->args.push_back(std::move(arg));
                if (isSymbol(",")) {
                    if (!advance())
                        return nullptr;
                    continue;
                }
                if (isSymbol(")"))
                    break;
                return fail(QStringLiteral("manca \")\" dopo gli argomenti di %1").arg(n->name), m_tok.start);
            }
        }
        const int callEnd = m_tok.end;
        if (!advance())
            return nullptr;
        const int count = int(n->args.size());
        if (const BuiltinDef* b = builtin(n->name)) {
            if (count < b->minArgs || count > b->maxArgs) {
                const QString expected = b->minArgs == b->maxArgs
                                             ? QString::number(b->minArgs)
                                             : QStringLiteral("da %1 a %2").arg(b->minArgs).arg(b->maxArgs);
                return fail(
                    QStringLiteral("%1 vuole %2 argomenti, ne ha %3").arg(n->name.toUpper(), expected).arg(count),
                    callStart);
            }
            n->kind = ExprNode::Kind::Call;
            n->name = n->name.toUpper();
            n->argTexts.clear();
            return n;
        }
        if (count > 3)
            return fail(QStringLiteral("la funzione %1 ha più di tre argomenti").arg(n->name), callStart);
        n->kind = ExprNode::Kind::UserCall;
        n->source = m_text.mid(callStart, callEnd - callStart);
        // The handler evaluates the argument texts itself; the parsed form only checked them.
        n->args.clear();
        return n;
    }

    const QString& m_text;
    ExprError* m_error;
    int m_pos = 0;
    Token m_tok;
    bool m_failed = false;
};

} // namespace

ExprPtr parseExpression(const QString& text, ExprError* error)
{
    Parser p(text, error);
    return p.parse();
}

QStringList builtinFunctions()
{
    QStringList out;
    for (const BuiltinDef& b : kBuiltins)
        out << QString::fromLatin1(b.name);
    return out;
}

} // namespace zol::report
