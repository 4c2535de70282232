#pragma once
#include <QDialog>

// The terms of use, shown once on the first run: "I Agree" goes on, "Cancel" ends the
// program. exec() returns Accepted only for "I Agree".
class TermsDialog : public QDialog {
    Q_OBJECT
public:
    explicit TermsDialog(QWidget* parent = nullptr);
    static const QString kTerms;
};
