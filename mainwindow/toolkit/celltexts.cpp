// Cell texts: the amount mask and the sort order of a column.
#include "mainwindow/toolkit/celltexts.h"

#include <QDate>
#include <optional>

namespace tarmel::ui {

QString AmountText(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok) return text;
    QString digits = QString::number(value < 0 ? -value : value, 'f', 2);
    // Blanks between groups of three digits before the decimal point.
    for (int i = int(digits.indexOf(u'.')) - 3; i > 0; i -= 3) digits.insert(i, u' ');
    // A value rounded to zero shows no sign.
    return value < 0 && digits != QLatin1String("0.00") ? u'-' + digits : digits;
}

namespace {

std::optional<double> NumberOf(const QString& text) {
    bool ok = false;
    const double value = QString(text).remove(u' ').toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

std::optional<double> DayOf(const QString& text) {
    const QDate date = QDate::fromString(text.trimmed().left(10), QStringLiteral("dd/MM/yyyy"));
    return date.isValid() ? std::optional<double>(double(date.toJulianDay())) : std::nullopt;
}

}  // namespace

bool SortsBefore(SortKind kind, const QString& a, const QString& b) {
    if (kind == SortKind::Number || kind == SortKind::Date) {
        const auto valueOf = kind == SortKind::Number ? NumberOf : DayOf;
        const std::optional<double> x = valueOf(a), y = valueOf(b);
        if (x && y) return *x < *y;
        return x.has_value() && !y.has_value();
    }
    if (kind == SortKind::Text) return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    return false;
}

}  // namespace tarmel::ui
