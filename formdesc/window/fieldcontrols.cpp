// Field text and colours on the toolkit's controls.
#include "formdesc/window/fieldcontrols.h"

#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVariant>

#include "mainwindow/toolkit/controls.h"

namespace tarmel::form {

namespace {
constexpr const char* kTagProperty = "fieldTag";
}  // namespace

int TagOf(const QObject* control) {
    return control == nullptr ? 0 : control->property(kTagProperty).toInt();
}

void SetTag(QObject* control, int tag) { control->setProperty(kTagProperty, tag); }

QString Q(std::string_view latin1) {
    return QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size()));
}

std::string L(const QString& text) {
    // The record is Latin-1: the typographic marks a word processor pastes become their plain
    // forms rather than "?".
    static const std::pair<char16_t, const char*> kPlain[] = {
        {u'\u2018', "'"},  {u'\u2019', "'"},  {u'\u201A', "'"},   {u'\u201C', "\""},
        {u'\u201D', "\""}, {u'\u201E', "\""}, {u'\u2013', "-"},   {u'\u2014', "-"},
        {u'\u2026', "..."}, {u'\u0153', "oe"}, {u'\u0152', "OE"}, {u'\u20AC', "EUR"},
    };
    QString plain = text;
    for (const auto& [mark, replacement] : kPlain)
        plain.replace(QChar(mark), QLatin1String(replacement));
    return plain.toLatin1().toStdString();
}

std::string FieldText(const QWidget* control) {
    QString text = ui::ControlText(control);
    if (qobject_cast<const QPlainTextEdit*>(control) != nullptr) {
        // The record keeps Windows line breaks; the memo shows plain ones.
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    }
    return L(text);
}

void SetFieldText(QWidget* control, std::string_view latin1) {
    QString text = Q(latin1);
    if (qobject_cast<QPlainTextEdit*>(control) != nullptr)
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    ui::SetControlText(control, text);
}

Colour BackgroundOf(const QWidget* control) {
    const QColor c = control->palette().color(QPalette::Active, QPalette::Base);
    return static_cast<Colour>(c.red()) | static_cast<Colour>(c.green()) << 8 |
           static_cast<Colour>(c.blue()) << 16;
}

void SetFieldColours(QWidget* control, Colour background, Colour text) {
    QPalette palette = control->palette();
    const QColor base = ui::ColourFrom(background);
    const QColor ink = ui::ColourFrom(text);
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        if (base.isValid()) {
            palette.setColor(group, QPalette::Base, base);
            palette.setColor(group, QPalette::Button, base);
        }
        if (ink.isValid()) {
            palette.setColor(group, QPalette::Text, ink);
            palette.setColor(group, QPalette::ButtonText, ink);
        }
    }
    control->setPalette(palette);
}

int IdNumber(const QString& text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? n : 0;
}

Date Today() {
    const QDate today = QDate::currentDate();
    return {today.year(), today.month(), today.day()};
}

void SetMaxLength(QWidget* control, int length) {
    if (auto* edit = qobject_cast<QLineEdit*>(control)) return ui::SetTypingLimit(edit, length);
    if (auto* combo = qobject_cast<ui::Combo*>(control)) return combo->setMaxLength(length);
    if (auto* memo = qobject_cast<ui::Memo*>(control)) return memo->setMaxLength(length);
    // A date picker's mask already holds its length.
}

void SetMandatoryMarker(QWidget* label, bool marked) {
    QFont font = label->font();
    font.setUnderline(marked);
    font.setBold(false);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
}

}  // namespace tarmel::form
