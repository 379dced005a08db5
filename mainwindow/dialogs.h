// The one way the window asks or tells the user something in a box, so that a test can answer.
#pragma once

#include <QString>

#include <memory>

class QWidget;

namespace tarmel {

class Dialogs {
public:
    enum class Kind { Information, Warning, Error };
    virtual ~Dialogs() = default;
    // A box with one OK button.
    virtual void Message(Kind kind, const QString& title, const QString& text) = 0;
    // A Yes/No box; true for Yes.
    virtual bool Confirm(const QString& title, const QString& text) = 0;
    enum class Answer { Yes, No, Cancel };
    // A Yes/No/Cancel box; closing it answers Cancel.
    virtual Answer Ask(const QString& title, const QString& text) = 0;
    // The folder dialog, starting at initial when it is not empty; the chosen folder, or empty
    // when the user cancelled. Without allowNew no folder can be created from the dialog.
    virtual QString BrowseForFolder(const QString& title, const QString& initial,
                                    bool allowNew) = 0;
};

// Modal message boxes over parent.
std::unique_ptr<Dialogs> MessageBoxDialogs(QWidget* parent);

}  // namespace tarmel
