// Modal message boxes.
#include "mainwindow/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace tarmel {

namespace {
class MessageBoxes : public Dialogs {
public:
    explicit MessageBoxes(QWidget* parent) : parent_(parent) {}
    void Message(Kind kind, const QString& title, const QString& text) override {
        if (kind == Kind::Error) QMessageBox::critical(parent_, title, text);
        else if (kind == Kind::Warning) QMessageBox::warning(parent_, title, text);
        else QMessageBox::information(parent_, title, text);
    }
    bool Confirm(const QString& title, const QString& text) override {
        return QMessageBox::question(parent_, title, text, QMessageBox::Yes | QMessageBox::No) ==
               QMessageBox::Yes;
    }
    Answer Ask(const QString& title, const QString& text) override {
        switch (QMessageBox::question(parent_, title, text,
                                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                      QMessageBox::Yes)) {
            case QMessageBox::Yes: return Answer::Yes;
            case QMessageBox::No: return Answer::No;
            default: return Answer::Cancel;
        }
    }

    QString BrowseForFolder(const QString& title, const QString& initial,
                            bool allowNew) override {
        // Qt's own dialog, so that it speaks French like the rest of the window.
        QFileDialog::Options options = QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog;
        if (!allowNew) options |= QFileDialog::ReadOnly;
        return QFileDialog::getExistingDirectory(parent_, title, initial, options);
    }

private:
    QWidget* parent_;
};
}  // namespace

std::unique_ptr<Dialogs> MessageBoxDialogs(QWidget* parent) {
    return std::make_unique<MessageBoxes>(parent);
}

}  // namespace tarmel
