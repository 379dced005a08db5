// The toolkit controls of the main window, one class per kind of the control inventory, and the
// one generic way to read and write a control's text.
#pragma once

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTabWidget>
#include <QTreeWidget>

#include <cstdint>
#include <functional>
#include <optional>

#include "inventory/inventory.h"

class QCalendarWidget;
class QKeyEvent;
class QToolButton;

namespace tarmel::ui {

// A colour of the server's convention (red in the low byte; top byte 0xFF names a system colour
// by the index in the low byte) as a Qt colour; invalid for inventory::kNoColour.
QColor ColourFrom(std::uint32_t value);

// The text the user sees in a control of any text kind (edit, number edit, date picker, combo,
// memo, header edit, label); empty for other kinds.
QString ControlText(const QWidget* control);
void SetControlText(QWidget* control, const QString& text);

// The control's font at a size in pixels.
void SetFontPx(QWidget* control, int px);

// Hints: "short|long"; the tool tip shows the short part, the status line the long part.
void SetHint(QWidget* control, const QString& hint);
QString Hint(const QWidget* control);
QString LongHint(const QString& hint);

// The most characters a user may type into an edit (0: no limit). Unlike the line edit's own
// maximum length it never cuts a text the program sets (a record's value, a combo's item), and a
// longer text can still be shortened.
void SetTypingLimit(QLineEdit* edit, int length);
int TypingLimit(const QLineEdit* edit);

// A caption with a sunken border that can be clicked (the search kinds).
class StaticText : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();
protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// One-line number: digits, one "." and a leading "-"; right-aligned.
class NumberEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit NumberEdit(QWidget* parent = nullptr);
};

// A date as "dd/mm/yyyy" typed into a mask whose empty form reads "__/__/____", with a calendar
// drop-down. text() is empty while no digit is typed, else the text as shown.
class DatePicker : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged USER true)
public:
    explicit DatePicker(QWidget* parent = nullptr);

    QString text() const;
    // An empty text clears the mask; a date in any "d/m/y" form is shown as "dd/mm/yyyy".
    void setText(const QString& text);
    // The form's length of a date field counts digits (8, the mask's own): the mask already
    // holds that limit, and cutting the shown text to 8 characters would lose the year.
    void setMaxLength(int) {}
    void setReadOnly(bool readOnly);
    QLineEdit* lineEdit() const { return edit_; }
    void showCalendar();
    // The open calendar drop-down, or nullptr.
    QCalendarWidget* calendar() const;

signals:
    void textChanged(const QString& text);
    void dateSelected(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLineEdit* edit_;
    QToolButton* button_;
    QWidget* popup_ = nullptr;
};

// Drop-down list. Pick-only until made editable (free text, or the tab builder's typed combo);
// the maximum length applies to the typed text.
class Combo : public QComboBox {
    Q_OBJECT
public:
    explicit Combo(QWidget* parent = nullptr);
    void setMaxLength(int length);
    int maxLength() const { return maxLength_; }
    void makeEditable();
private:
    int maxLength_ = 0;
};

// Multi-line text with a maximum length in characters (0 = none): pasted or typed text beyond it
// is cut; a longer text the program sets stands whole.
class Memo : public QPlainTextEdit {
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textEdited USER true)
public:
    explicit Memo(QWidget* parent = nullptr);
    QString text() const { return toPlainText(); }
    void setText(const QString& text);
    void setMaxLength(int length);
    int maxLength() const { return maxLength_; }
signals:
    // Every change of the text, the program's included (the notify signal of the text).
    void textEdited(const QString& text);
    // The user's changes only.
    void userEdited(const QString& text);
protected:
    void resizeEvent(QResizeEvent* event) override;
private:
    void enforceMaxLength();
    int maxLength_ = 0;
    bool settingText_ = false;
    qsizetype allowed_ = 0;  // the longest text that may stand now
};

// List with several selectable items.
class ListBox : public QListWidget {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent = nullptr);
};

// Report-style list with columns; sorting asks the sort callback when one is set.
class ListView : public QTreeWidget {
    Q_OBJECT
public:
    explicit ListView(QWidget* parent = nullptr);
    // Negative, 0 or positive like strcmp, for the sort column.
    std::function<int(const QTreeWidgetItem&, const QTreeWidgetItem&, int column)> sortCallback;
};

// An item of a ListView that sorts through the view's callback.
class ListViewItem : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override;
};

// A picture scaled into the control, keeping its proportions.
class ImageBox : public QLabel {
    Q_OBJECT
public:
    explicit ImageBox(QWidget* parent = nullptr);
    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return picture_; }
protected:
    void resizeEvent(QResizeEvent* event) override;
private:
    QPixmap picture_;
};

// A filled marker (the blinking Shape1).
class Shape : public QWidget {
    Q_OBJECT
public:
    explicit Shape(QWidget* parent = nullptr);
    QColor brush{Qt::red};
protected:
    void paintEvent(QPaintEvent* event) override;
};

class Panel : public QFrame {
    Q_OBJECT
public:
    explicit Panel(QWidget* parent = nullptr);
    void setColour(const QColor& colour);
};

// Read-only header field; disabled, it keeps its own readable colours instead of greying out.
class HeaderEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit HeaderEdit(QWidget* parent = nullptr);
    void setDisabledColours(const QColor& text, const QColor& base);
};

class TrackBar : public QSlider {
    Q_OBJECT
public:
    explicit TrackBar(QWidget* parent = nullptr);
};

// One tab page of the page control.
class Page : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
};

// The page control: asks onChanging before the user (mouse, keys, wheel) or selectPage leaves the
// current page; a false answer keeps it.
class PageControl : public QTabWidget {
    Q_OBJECT
public:
    explicit PageControl(QWidget* parent = nullptr);
    std::function<bool(int newIndex)> onChanging;
    // Selects page index if the change is allowed; true when it is now current.
    bool selectPage(int index);
protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
private:
    int neighbour(int step) const;
    int pageForKey(const QKeyEvent& key, bool onTabBar) const;
};

// The kind of a control created by the toolkit, decided from its class; nullopt for others.
std::optional<inventory::Kind> KindOf(const QWidget* control);

}  // namespace tarmel::ui
