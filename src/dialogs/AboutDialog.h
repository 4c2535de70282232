#pragma once
#include <QDialog>

class QLabel;

// The about box: name, version, logo and the maker's web link.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
    void onWebLinkClicked();  // opens the web site

    static const QString kWebAddress;

private:
    QLabel* webLink;
};
