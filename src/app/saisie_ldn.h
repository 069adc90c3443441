#pragma once
// The logical-device-name dialog: created once, hidden between uses; its
// field keeps the last name typed, whatever the kind.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zorv::app {

class TFrmSaisieLDN : public QDialog {
public:
    explicit TFrmSaisieLDN(QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* EdtLDN;
    QPushButton* BtnOK;
    QPushButton* BtnAnnuler;

protected:
    // Escape is not bound to "Annuler"; closing the window still cancels.
    // Enter presses the focused button, "OK" when no button has the focus.
    void keyPressEvent(QKeyEvent* event) override;
    // Each showing starts in the name field, its text selected.
    void showEvent(QShowEvent* event) override;
};

} // namespace zorv::app
