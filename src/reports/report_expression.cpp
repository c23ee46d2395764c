#include "reports/report_expression.h"

#include "data/decimal.h"
#include "data/text_formats.h"
#include "reports/report_error.h"

#include <QDate>
#include <QDateTime>
#include <cmath>
#include <functional>
#include <optional>

namespace vardelo::report {

struct ExpressionNode {
    enum Kind { Constant, Variable, Field, Negate, Add, Subtract, Multiply, Divide };
    Kind kind = Constant;
    QVariant constant;
    QString name;      // variable, or component of a field
    QString fieldName; // field
    std::unique_ptr<ExpressionNode> left;
    std::unique_ptr<ExpressionNode> right;
};

namespace {

class Parser {
public:
    explicit Parser(const QString& source) : s_(source) {}

    std::unique_ptr<ExpressionNode> parse() {
        auto node = sum();
        skipBlanks();
        if (pos_ < s_.size())
            fail(QStringLiteral("váratlan jel: %1").arg(s_.mid(pos_, 1)));
        return node;
    }

private:
    [[noreturn]] void fail(const QString& what) const {
        throw EReportError(QStringLiteral("Hibás kifejezés a jelentésben: [%1] (%2)").arg(s_, what));
    }

    void skipBlanks() {
        while (pos_ < s_.size() && s_[pos_].isSpace())
            ++pos_;
    }

    bool take(QChar c) {
        skipBlanks();
        if (pos_ < s_.size() && s_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    static std::unique_ptr<ExpressionNode>
    binary(ExpressionNode::Kind kind, std::unique_ptr<ExpressionNode> l, std::unique_ptr<ExpressionNode> r) {
        auto node = std::make_unique<ExpressionNode>();
        node->kind = kind;
        node->left = std::move(l);
        node->right = std::move(r);
        return node;
    }

    std::unique_ptr<ExpressionNode> sum() {
        auto node = product();
        for (;;) {
            if (take(u'+'))
                node = binary(ExpressionNode::Add, std::move(node), product());
            else if (take(u'-'))
                node = binary(ExpressionNode::Subtract, std::move(node), product());
            else
                return node;
        }
    }

    std::unique_ptr<ExpressionNode> product() {
        auto node = unary();
        for (;;) {
            if (take(u'*'))
                node = binary(ExpressionNode::Multiply, std::move(node), unary());
            else if (take(u'/'))
                node = binary(ExpressionNode::Divide, std::move(node), unary());
            else
                return node;
        }
    }

    std::unique_ptr<ExpressionNode> unary() {
        if (take(u'-')) {
            auto node = std::make_unique<ExpressionNode>();
            node->kind = ExpressionNode::Negate;
            node->left = unary();
            return node;
        }
        if (take(u'+'))
            return unary();
        return primary();
    }

    static bool isNameStart(QChar c) { return c.isLetter() || c == u'_'; }
    static bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'#'; }

    QString quoted(QChar quote) {
        // pos_ is just after the opening quote; a doubled quote stands for itself.
        QString text;
        for (;;) {
            if (pos_ >= s_.size())
                fail(QStringLiteral("lezáratlan idézőjel"));
            const QChar c = s_[pos_++];
            if (c == quote) {
                if (pos_ < s_.size() && s_[pos_] == quote) {
                    text += quote;
                    ++pos_;
                    continue;
                }
                return text;
            }
            text += c;
        }
    }

    std::unique_ptr<ExpressionNode> primary() {
        skipBlanks();
        if (pos_ >= s_.size())
            fail(QStringLiteral("hiányzó érték"));
        auto node = std::make_unique<ExpressionNode>();
        const QChar c = s_[pos_];
        if (take(u'(')) {
            node = sum();
            if (!take(u')'))
                fail(QStringLiteral("hiányzó )"));
            return node;
        }
        if (c == u'\'') {
            ++pos_;
            node->kind = ExpressionNode::Constant;
            node->constant = quoted(u'\'');
            return node;
        }
        if (c.isDigit() || c == u'.') {
            const int start = pos_;
            while (pos_ < s_.size() && (s_[pos_].isDigit() || s_[pos_] == u'.'))
                ++pos_;
            const std::optional<Decimal> value = Decimal::parse(s_.mid(start, pos_ - start));
            if (!value)
                fail(QStringLiteral("hibás szám"));
            node->kind = ExpressionNode::Constant;
            node->constant = QVariant::fromValue(*value);
            return node;
        }
        if (isNameStart(c)) {
            const int start = pos_;
            while (pos_ < s_.size() && isNameChar(s_[pos_]))
                ++pos_;
            const QString name = s_.mid(start, pos_ - start);
            if (pos_ < s_.size() && s_[pos_] == u'.') {
                ++pos_;
                node->kind = ExpressionNode::Field;
                node->name = name;
                if (pos_ < s_.size() && s_[pos_] == u'"') {
                    ++pos_;
                    node->fieldName = quoted(u'"');
                } else {
                    const int fieldStart = pos_;
                    while (pos_ < s_.size() && isNameChar(s_[pos_]))
                        ++pos_;
                    node->fieldName = s_.mid(fieldStart, pos_ - fieldStart);
                }
                if (node->fieldName.isEmpty())
                    fail(QStringLiteral("hiányzó mezőnév"));
                return node;
            }
            node->kind = ExpressionNode::Variable;
            node->name = name;
            return node;
        }
        fail(QStringLiteral("váratlan jel: %1").arg(c));
    }

    QString s_;
    int pos_ = 0;
};

bool isText(const QVariant& v) {
    return v.typeId() == QMetaType::QString;
}

bool isDate(const QVariant& v) {
    return v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime;
}

QDate dateOf(const QVariant& v) {
    return v.typeId() == QMetaType::QDateTime ? v.toDateTime().date() : v.toDate();
}

bool isDecimal(const QVariant& v) {
    return v.typeId() == qMetaTypeId<Decimal>();
}

// A number in an expression: exact while every operand is (decimal columns, whole numbers, literals, texts),
// a double once a double column or a division takes part.
struct Number {
    std::optional<Decimal> exact;
    double approximate = 0;

    double toDouble() const { return exact ? exact->toDouble() : approximate; }
    QVariant value() const { return exact ? QVariant::fromValue(*exact) : QVariant(approximate); }
};

// Exact when both are and the result fits, else in doubles.
template <typename Exact, typename Approximate>
Number combine(const Number& a, const Number& b, Exact exact, Approximate approximate) {
    if (a.exact && b.exact) {
        const Decimal result = exact(*a.exact, *b.exact);
        if (result.isValid())
            return {result, 0};
    }
    return {std::nullopt, approximate(a.toDouble(), b.toDouble())};
}

// A numeric operand: null is 0, a text must read as a number.
Number numberOf(const QVariant& v, const QString& source) {
    if (v.isNull())
        return {Decimal(), 0};
    if (isText(v)) {
        const QString text = v.toString();
        if (isBlank(text))
            return {Decimal(), 0};
        if (auto n = Decimal::parse(text))
            return {*n, 0};
        throw EReportError(
            QStringLiteral("Hibás kifejezés a jelentésben: [%1] (nem szám: \"%2\")").arg(source, text));
    }
    if (isDate(v))
        throw EReportError(
            QStringLiteral("Hibás kifejezés a jelentésben: [%1] (dátummal nem számol)").arg(source));
    if (isDecimal(v))
        return {v.value<Decimal>(), 0};
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Bool:
        return {Decimal(v.toLongLong()), 0};
    default:
        return {std::nullopt, v.toDouble()};
    }
}

QVariant evaluateNode(const ExpressionNode& node, ValueResolver& resolver, const QString& source) {
    switch (node.kind) {
    case ExpressionNode::Constant:
        return node.constant;
    case ExpressionNode::Variable:
        return resolver.variable(node.name);
    case ExpressionNode::Field:
        return resolver.field(node.name, node.fieldName);
    case ExpressionNode::Negate: {
        const Number n = numberOf(evaluateNode(*node.left, resolver, source), source);
        return n.exact ? QVariant::fromValue(-*n.exact) : QVariant(-n.approximate);
    }
    default:
        break;
    }
    const QVariant l = evaluateNode(*node.left, resolver, source);
    const QVariant r = evaluateNode(*node.right, resolver, source);
    if (node.kind == ExpressionNode::Add && (isText(l) || isText(r))) {
        const QString a = l.isNull() ? QString() : formatValue(l, {});
        const QString b = r.isNull() ? QString() : formatValue(r, {});
        return QVariant(a + b);
    }
    const Number a = numberOf(l, source);
    const Number b = numberOf(r, source);
    switch (node.kind) {
    case ExpressionNode::Add:
        return combine(a, b, std::plus<Decimal>(), std::plus<double>()).value();
    case ExpressionNode::Subtract:
        return combine(a, b, std::minus<Decimal>(), std::minus<double>()).value();
    case ExpressionNode::Multiply:
        return combine(a, b, std::multiplies<Decimal>(), std::multiplies<double>()).value();
    case ExpressionNode::Divide:
        if (b.toDouble() == 0.0)
            return {};
        return QVariant(a.toDouble() / b.toDouble());
    default:
        return {};
    }
}

} // namespace

Expression::Expression(const QString& source) : source_(source), root_(Parser(source).parse()) {}
Expression::~Expression() = default;
Expression::Expression(Expression&&) noexcept = default;
Expression& Expression::operator=(Expression&&) noexcept = default;

QVariant Expression::evaluate(ValueResolver& resolver) const {
    return evaluateNode(*root_, resolver, source_);
}

TextTemplate::TextTemplate(const QString& text) {
    QString literal;
    int i = 0;
    while (i < text.size()) {
        if (text[i] != u'[') {
            literal += text[i++];
            continue;
        }
        // Find the closing bracket outside quotes.
        int j = i + 1;
        QChar quote;
        for (; j < text.size(); ++j) {
            const QChar c = text[j];
            if (!quote.isNull()) {
                if (c == quote)
                    quote = QChar();
            } else if (c == u'"' || c == u'\'') {
                quote = c;
            } else if (c == u']') {
                break;
            }
        }
        if (j >= text.size())
            throw EReportError(QStringLiteral("Hibás kifejezés a jelentésben: lezáratlan [ (%1)").arg(text));
        if (!literal.isEmpty()) {
            parts_.push_back({literal, -1});
            literal.clear();
        }
        expressions_.emplace_back(text.mid(i + 1, j - i - 1));
        parts_.push_back({QString(), int(expressions_.size()) - 1});
        i = j + 1;
    }
    if (!literal.isEmpty())
        parts_.push_back({literal, -1});
}

QString TextTemplate::evaluate(ValueResolver& resolver, const TextFormat& format) const {
    QString out;
    for (const Part& part : parts_) {
        if (part.expression < 0)
            out += part.literal;
        else
            out += formatValue(expressions_[part.expression].evaluate(resolver), format);
    }
    return out;
}

QString formatValue(const QVariant& value, const TextFormat& format) {
    if (value.isNull() || !value.isValid())
        return QStringLiteral(" ");
    if (isDate(value))
        return dateText(dateOf(value));
    if (isText(value)) {
        const QString text = value.toString();
        if (format.kind == ValueFormat::Fixed || format.kind == ValueFormat::Shortest) {
            if (auto n = Decimal::parse(text))
                return formatValue(QVariant::fromValue(*n), format);
        }
        return text;
    }
    if (isDecimal(value)) {
        const Decimal number = value.value<Decimal>();
        if (format.kind == ValueFormat::Fixed)
            return fixedNumberText(number, format.decimals, true);
        return shortestNumberText(number);
    }
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok)
        return value.toString();
    if (format.kind == ValueFormat::Fixed)
        return fixedNumberText(number, format.decimals, true);
    return shortestNumberText(number);
}

} // namespace vardelo::report
