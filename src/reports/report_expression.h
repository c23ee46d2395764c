#pragma once

#include "reports/report_layout.h"

#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

// Expressions of report texts: a text holds literal parts and [expression] parts. An expression is built of
// numbers (12.5), texts in single quotes ('Ft'), variables (v_far), dataset fields (ZQ20."S_NETTO"), the
// operators
// + - * / with the usual precedence, unary minus and parentheses. Values are null, numbers, texts and dates.
// Numbers are exact decimals (vardelo::Decimal: decimal columns, whole numbers, literals, texts that read as
// numbers), and + - * of exact numbers stay exact; a double column or a division gives a double. In
// arithmetic a null counts as 0; + joins when either side is a text; division by zero gives null.
namespace vardelo::report {

// Where expressions find their values.
class ValueResolver {
public:
    virtual ~ValueResolver() = default;
    // A variable's value; null when it has none. Names are compared without regard to case.
    virtual QVariant variable(const QString& name) = 0;
    // A field of a component's current row; null when the component has no current row. Raises EReportError
    // for a component or field that does not exist.
    virtual QVariant field(const QString& component, const QString& field) = 0;
};

struct ExpressionNode;

// A parsed expression. Raises EReportError with the expression in the message when it cannot be parsed.
class Expression {
public:
    explicit Expression(const QString& source);
    ~Expression();
    Expression(Expression&&) noexcept;
    Expression& operator=(Expression&&) noexcept;

    QVariant evaluate(ValueResolver& resolver) const;
    const QString& source() const { return source_; }

private:
    QString source_;
    std::unique_ptr<ExpressionNode> root_;
};

// A text with its [expression] parts parsed.
class TextTemplate {
public:
    explicit TextTemplate(const QString& text);

    // The text with each expression replaced by its value in the format.
    QString evaluate(ValueResolver& resolver, const TextFormat& format) const;
    // True when the text has no expression parts.
    bool isLiteral() const { return expressions_.empty(); }

private:
    struct Part {
        QString literal;
        int expression = -1; // index into expressions_, or -1 for a literal part
    };
    std::vector<Part> parts_;
    std::vector<Expression> expressions_;
};

// The text of one value in a format: null gives one blank; numbers take the format (a text that reads as a
// number too, when the format is a number format); dates are date text.
QString formatValue(const QVariant& value, const TextFormat& format);

} // namespace vardelo::report
