// What the form engine needs of the window's controls: the tag that ties a control to its field,
// the field's text in and out of any text control, and the server's colours on a control.
#pragma once

#include <QString>
#include <QWidget>

#include <string>
#include <string_view>

#include "formdesc/descriptors.h"
#include "server/dates.h"

namespace tarmel::form {

// The tag of a control bound to a field (0: not bound).
int TagOf(const QObject* control);
void SetTag(QObject* control, int tag);

// A field's text as the record holds it (Latin-1 bytes, line breaks as CR LF) from the control,
// and back. Memos show single line breaks.
std::string FieldText(const QWidget* control);
void SetFieldText(QWidget* control, std::string_view latin1);

QString Q(std::string_view latin1);
std::string L(const QString& text);

// The background of an editable control as a colour of the server's convention.
Colour BackgroundOf(const QWidget* control);
// Background and text colours of a field's control; they hold when the control is disabled too,
// so a read-only field stays readable.
void SetFieldColours(QWidget* control, Colour background, Colour text);

// The identifier a host label shows (LbIdTVO, LbIDCustomer) as a number, 0 when it is none.
int IdNumber(const QString& text);

// The machine's date.
Date Today();

// The maximum length of a text control or combo (0: none).
void SetMaxLength(QWidget* control, int length);

// A label's font: black, underlined for a mandatory field without value.
void SetMandatoryMarker(QWidget* label, bool marked);

}  // namespace tarmel::form
