// The toolkit controls of the main window.
#include "mainwindow/toolkit/controls.h"

#include <QAbstractButton>
#include <QCalendarWidget>
#include <QDate>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QTabBar>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "mainwindow/toolkit/frenchtexts.h"
#include "mainwindow/toolkit/grid.h"
#include "server/dates.h"

namespace tarmel::ui {

QColor ColourFrom(std::uint32_t value) {
    if (value == inventory::kNoColour) return {};
    if ((value >> 24) == 0xFF) {
        // The Windows system colours the server's descriptions use.
        switch (value & 0xFF) {
        case 0x05: return QColor(255, 255, 255);  // window
        case 0x08: return QColor(0, 0, 0);        // window text
        case 0x0B: return QColor(212, 208, 200);  // inactive border: read-only fields
        case 0x0D: return QColor(0, 120, 215);    // highlight
        case 0x0E: return QColor(255, 255, 255);  // highlight text
        case 0x0F: return QColor(240, 240, 240);  // button face
        case 0x11: return QColor(109, 109, 109);  // grey text
        case 0x12: return QColor(0, 0, 0);        // button text
        default: return QColor(240, 240, 240);
        }
    }
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

namespace {

// Refuses a text that grows beyond the limit; anything else goes to the edit's own validator.
class TypingLimitValidator : public QValidator {
public:
    TypingLimitValidator(QLineEdit* edit, const QValidator* inner)
        : QValidator(edit), inner_(inner), accepted_(edit->text().size()) {
        // The length of the text last accepted, whoever set it.
        connect(edit, &QLineEdit::textChanged, this,
                [this](const QString& text) { accepted_ = text.size(); });
    }
    int limit = 0;
    State validate(QString& input, int& position) const override {
        if (limit > 0 && input.size() > limit && input.size() > accepted_) return Invalid;
        return inner_ ? inner_->validate(input, position) : Acceptable;
    }

private:
    const QValidator* inner_;
    qsizetype accepted_;
};

}  // namespace

void SetTypingLimit(QLineEdit* edit, int length) {
    auto* limiter = const_cast<TypingLimitValidator*>(
        dynamic_cast<const TypingLimitValidator*>(edit->validator()));
    if (limiter == nullptr) {
        limiter = new TypingLimitValidator(edit, edit->validator());
        edit->setValidator(limiter);
    }
    limiter->limit = length;
}

int TypingLimit(const QLineEdit* edit) {
    const auto* limiter = dynamic_cast<const TypingLimitValidator*>(edit->validator());
    return limiter ? limiter->limit : 0;
}

void SetFontPx(QWidget* control, int px) {
    QFont font = control->font();
    font.setPixelSize(px);
    control->setFont(font);
}

QString ControlText(const QWidget* control) {
    if (auto* d = qobject_cast<const DatePicker*>(control)) return d->text();
    if (auto* c = qobject_cast<const QComboBox*>(control)) return c->currentText();
    if (auto* m = qobject_cast<const QPlainTextEdit*>(control)) {
        // The raw text keeps the no-break spaces toPlainText() would turn into blanks.
        QString text = m->document()->toRawText();
        text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        text.replace(QChar::LineSeparator, QLatin1Char('\n'));
        return text;
    }
    if (auto* e = qobject_cast<const QLineEdit*>(control)) return e->text();
    if (auto* l = qobject_cast<const QLabel*>(control)) return l->text();
    if (auto* b = qobject_cast<const QAbstractButton*>(control)) return b->text();
    return {};
}

void SetControlText(QWidget* control, const QString& text) {
    if (auto* d = qobject_cast<DatePicker*>(control)) return d->setText(text);
    if (auto* c = qobject_cast<QComboBox*>(control)) {
        if (c->isEditable()) return c->setEditText(text);
        const int index = c->findText(text);
        if (index < 0 && !text.isEmpty()) c->addItem(text);
        return c->setCurrentIndex(c->findText(text));
    }
    if (auto* m = qobject_cast<Memo*>(control)) return m->setText(text);
    if (auto* m = qobject_cast<QPlainTextEdit*>(control)) return m->setPlainText(text);
    if (auto* e = qobject_cast<QLineEdit*>(control)) {
        // A text longer than the edit shows its beginning, as a typed one would be read.
        e->setText(text);
        if (!e->hasFocus()) e->setCursorPosition(0);
        return;
    }
    if (auto* l = qobject_cast<QLabel*>(control)) return l->setText(text);
    if (auto* b = qobject_cast<QAbstractButton*>(control)) return b->setText(text);
}

void SetHint(QWidget* control, const QString& hint) {
    control->setProperty("hint", hint);
    const int bar = hint.indexOf('|');
    control->setToolTip(bar < 0 ? hint : hint.left(bar));
}

QString Hint(const QWidget* control) { return control->property("hint").toString(); }

QString LongHint(const QString& hint) {
    const int bar = hint.indexOf('|');
    return bar < 0 ? hint : hint.mid(bar + 1);
}

void StaticText::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit clicked();
    QLabel::mousePressEvent(event);
}

NumberEdit::NumberEdit(QWidget* parent) : QLineEdit(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setValidator(new QRegularExpressionValidator(QRegularExpression(R"(-?[0-9]*\.?[0-9]*)"), this));
}

namespace {

// Every digit of the mask is typed, and the date exists (no 31/02, no month 13).
bool IsImpossibleDate(const QString& shown) {
    return !shown.contains(QLatin1Char('_')) && !ParseShortDate(shown.toStdString());
}

}  // namespace

DatePicker::DatePicker(QWidget* parent)
    : QWidget(parent), edit_(new QLineEdit(this)), button_(new QToolButton(this)) {
    edit_->setInputMask(QStringLiteral("99/99/9999;_"));
    edit_->setTextMargins(0, 0, 0, 0);
    button_->setArrowType(Qt::DownArrow);
    button_->setFocusPolicy(Qt::NoFocus);
    button_->setCursor(Qt::ArrowCursor);
    setFocusProxy(edit_);
    connect(edit_, &QLineEdit::textChanged, this, [this] { emit textChanged(text()); });
    // A typed date that does not exist is not left on screen as if it were one.
    connect(edit_, &QLineEdit::editingFinished, this, [this] {
        if (IsImpossibleDate(edit_->displayText())) edit_->clear();
    });
    connect(button_, &QToolButton::clicked, this, &DatePicker::showCalendar);
}

QString DatePicker::text() const {
    const QString shown = edit_->displayText();
    bool typed = false;
    for (QChar c : shown) typed = typed || c.isDigit();
    // A date that does not exist is no date at all, as the record's date rules read it.
    if (!typed || IsImpossibleDate(shown)) return {};
    return shown;
}

void DatePicker::setText(const QString& text) {
    if (auto date = ParseShortDate(text.toStdString()))
        return edit_->setText(QString::fromStdString(FormatDate(*date)));
    // Neither an empty text nor one that is no date shows anything but the empty mask. Set, not
    // cleared: clear() is an edit the line keeps in its undo history, which the program's
    // sets would grow for as long as the window lives.
    edit_->setText(QString());
}

void DatePicker::setReadOnly(bool readOnly) {
    edit_->setReadOnly(readOnly);
    button_->setEnabled(!readOnly);
}

QCalendarWidget* DatePicker::calendar() const {
    return popup_ && popup_->isVisible() ? popup_->findChild<QCalendarWidget*>() : nullptr;
}

void DatePicker::showCalendar() {
    if (!popup_) {
        popup_ = new QWidget(this, Qt::Popup);
        auto* layout = new QVBoxLayout(popup_);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* calendar = new QCalendarWidget(popup_);
        // French month and day names, Monday first, no week numbers.
        calendar->setLocale(FrenchLocale());
        calendar->setFirstDayOfWeek(Qt::Monday);
        calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        calendar->setGridVisible(true);
        layout->addWidget(calendar);
        connect(calendar, &QCalendarWidget::clicked, this, [this](QDate date) {
            edit_->setText(date.toString(QStringLiteral("dd/MM/yyyy")));
            popup_->hide();
            emit dateSelected(text());
        });
    }
    auto* calendar = popup_->findChild<QCalendarWidget*>();
    if (auto date = ParseShortDate(text().toStdString()))
        calendar->setSelectedDate(QDate(date->year, date->month, date->day));
    else
        calendar->setSelectedDate(QDate::currentDate());
    popup_->adjustSize();
    popup_->move(mapToGlobal(QPoint(0, height())));
    popup_->show();
}

void DatePicker::resizeEvent(QResizeEvent*) {
    const int b = height();
    edit_->setGeometry(0, 0, width() - b + 1, height());
    button_->setGeometry(width() - b, 0, b, height());
}

Combo::Combo(QWidget* parent) : QComboBox(parent) {
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(16);
}

void Combo::setMaxLength(int length) {
    maxLength_ = length;
    if (lineEdit()) SetTypingLimit(lineEdit(), length);
}

void Combo::makeEditable() {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxLength(maxLength_);
}

Memo::Memo(QWidget* parent) : QPlainTextEdit(parent) {
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        enforceMaxLength();
        emit textEdited(toPlainText());
        if (!settingText_) emit userEdited(toPlainText());
    });
}

void Memo::setText(const QString& text) {
    // A text the program sets stands whole, even beyond the maximum: only typing is limited.
    allowed_ = std::max<qsizetype>(maxLength_, text.size());
    settingText_ = true;
    setPlainText(text);
    settingText_ = false;
}

void Memo::setMaxLength(int length) {
    maxLength_ = length;
    allowed_ = std::max<qsizetype>(length, toPlainText().size());
}

void Memo::enforceMaxLength() {
    const qsizetype size = toPlainText().size();
    if (maxLength_ <= 0) return;
    if (size <= allowed_) {
        // A longer text once shortened may not grow back past the maximum.
        allowed_ = std::max<qsizetype>(maxLength_, size);
        return;
    }
    const QSignalBlocker blocker(this);
    QTextCursor cursor = textCursor();
    const int position = static_cast<int>(std::min<qsizetype>(cursor.position(), allowed_));
    setPlainText(toPlainText().left(allowed_));
    cursor = textCursor();
    cursor.setPosition(position);
    setTextCursor(cursor);
}

void Memo::resizeEvent(QResizeEvent* event) {
    // A one-line memo (a name, a telephone) reads like an edit: no scroll bars, tight margins.
    const bool oneLine = height() < 2 * fontMetrics().height() + 6;
    document()->setDocumentMargin(oneLine ? 1 : 3);
    setVerticalScrollBarPolicy(oneLine ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Wrapping a one-line memo would hide the end of its text below its only line.
    setLineWrapMode(oneLine ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    QPlainTextEdit::resizeEvent(event);
}

ListBox::ListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::MultiSelection);
}

ListView::ListView(QWidget* parent) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSortingEnabled(true);
}

bool ListViewItem::operator<(const QTreeWidgetItem& other) const {
    auto* view = qobject_cast<ListView*>(treeWidget());
    const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    if (view && view->sortCallback) return view->sortCallback(*this, other, column) < 0;
    return QTreeWidgetItem::operator<(other);
}

ImageBox::ImageBox(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignCenter);
}

void ImageBox::setPicture(const QPixmap& picture) {
    picture_ = picture;
    if (picture_.isNull()) return clear();
    setPixmap(picture_.scaled(size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void ImageBox::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    if (!picture_.isNull()) setPicture(picture_);
}

Shape::Shape(QWidget* parent) : QWidget(parent) {}

void Shape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(brush.darker(160), 1));
    painter.setBrush(brush);
    painter.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

Panel::Panel(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
}

void Panel::setColour(const QColor& colour) {
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
    setAutoFillBackground(true);
}

HeaderEdit::HeaderEdit(QWidget* parent) : QLineEdit(parent) {
    setReadOnly(true);
    setFocusPolicy(Qt::NoFocus);
    setDisabledColours(Qt::black, QColor(250, 250, 240));
}

void HeaderEdit::setDisabledColours(const QColor& text, const QColor& base) {
    QPalette p = palette();
    for (auto group : {QPalette::Disabled, QPalette::Inactive, QPalette::Active}) {
        p.setColor(group, QPalette::Text, text);
        p.setColor(group, QPalette::Base, base);
    }
    setPalette(p);
}

TrackBar::TrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setTickPosition(QSlider::TicksBelow);
}

PageControl::PageControl(QWidget* parent) : QTabWidget(parent) {
    // A clicked tab takes the focus, so that the arrow keys then move from page to page.
    tabBar()->setFocusPolicy(Qt::StrongFocus);
    tabBar()->installEventFilter(this);
}

bool PageControl::selectPage(int index) {
    if (index == currentIndex()) return true;
    if (onChanging && !onChanging(index)) return false;
    setCurrentIndex(index);
    return currentIndex() == index;
}

int PageControl::neighbour(int step) const {
    // The next visible, enabled tab that way, wrapping round as the tab bar does with Ctrl+Tab.
    for (int i = 1; i < count(); ++i) {
        const int index = ((currentIndex() + step * i) % count() + count()) % count();
        if (isTabVisible(index) && isTabEnabled(index)) return index;
    }
    return currentIndex();
}

// The page a key would select, or -1 for keys that do not change pages.
int PageControl::pageForKey(const QKeyEvent& key, bool onTabBar) const {
    const bool ctrl = key.modifiers() & Qt::ControlModifier;
    if (ctrl && (key.key() == Qt::Key_Tab || key.key() == Qt::Key_PageDown)) return neighbour(1);
    if (ctrl && (key.key() == Qt::Key_Backtab || key.key() == Qt::Key_PageUp)) return neighbour(-1);
    if (!onTabBar) return -1;
    switch (key.key()) {
    case Qt::Key_Right: return neighbour(1);
    case Qt::Key_Left: return neighbour(-1);
    case Qt::Key_Home:
    case Qt::Key_End:
        for (int i = 0; i < count(); ++i) {
            const int index = key.key() == Qt::Key_Home ? i : count() - 1 - i;
            if (isTabVisible(index) && isTabEnabled(index)) return index;
        }
        return -1;
    default: return -1;
    }
}

void PageControl::keyPressEvent(QKeyEvent* event) {
    const int target = pageForKey(*event, false);
    if (target >= 0 && target != currentIndex() && onChanging && !onChanging(target)) {
        event->accept();
        return;
    }
    QTabWidget::keyPressEvent(event);
}

bool PageControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched != tabBar() || !onChanging) return QTabWidget::eventFilter(watched, event);
    int target = -1;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) target = tabBar()->tabAt(mouse->position().toPoint());
        break;
    }
    case QEvent::KeyPress: target = pageForKey(*static_cast<QKeyEvent*>(event), true); break;
    case QEvent::Wheel: {
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        if (delta != 0) target = neighbour(delta > 0 ? -1 : 1);
        break;
    }
    default: break;
    }
    if (target < 0 || target == currentIndex()) return QTabWidget::eventFilter(watched, event);
    if (!onChanging(target)) return true;
    if (event->type() == QEvent::MouseButtonPress) return QTabWidget::eventFilter(watched, event);
    // Keys and the wheel go to the page chosen here: the tab bar's own stepping would stop on
    // the hidden pages of the other record kinds.
    setCurrentIndex(target);
    return true;
}

std::optional<inventory::Kind> KindOf(const QWidget* control) {
    using inventory::Kind;
    if (qobject_cast<const Grid*>(control)) return Kind::Grid;
    if (qobject_cast<const ListView*>(control)) return Kind::ListView;
    if (qobject_cast<const ListBox*>(control)) return Kind::ListBox;
    if (qobject_cast<const Memo*>(control)) return Kind::Memo;
    if (qobject_cast<const DatePicker*>(control)) return Kind::DatePicker;
    if (qobject_cast<const QComboBox*>(control)) return Kind::Combo;
    if (qobject_cast<const NumberEdit*>(control)) return Kind::NumberEdit;
    if (qobject_cast<const HeaderEdit*>(control)) return Kind::HeaderEdit;
    if (qobject_cast<const QLineEdit*>(control)) return Kind::Edit;
    if (qobject_cast<const StaticText*>(control)) return Kind::StaticText;
    if (qobject_cast<const ImageBox*>(control)) return Kind::Image;
    if (qobject_cast<const QLabel*>(control)) return Kind::Label;
    if (qobject_cast<const QAbstractButton*>(control)) return Kind::Button;
    if (qobject_cast<const Shape*>(control)) return Kind::Shape;
    if (qobject_cast<const PageControl*>(control)) return Kind::PageControl;
    if (qobject_cast<const Page*>(control)) return Kind::Page;
    if (qobject_cast<const Panel*>(control)) return Kind::Panel;
    return std::nullopt;
}

}  // namespace tarmel::ui
