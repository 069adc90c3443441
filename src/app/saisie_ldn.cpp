#include "app/saisie_ldn.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "app/window_font.h"

namespace zorv::app {

// The classic frame around the designed outer size: 4-pixel borders, 19-pixel caption.
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 27;

TFrmSaisieLDN::TFrmSaisieLDN(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmSaisieLDN"));
    setWindowTitle(QStringLiteral("ZORV"));
    setFont(WindowFont());
    setFixedSize(269 - kFrameWidth, 143 - kFrameHeight);
    move(282, 200);

    Label1 = new QLabel(QStringLiteral("Nom logique de périphérique :"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(12, 12);
    Label1->adjustSize();

    EdtLDN = new QLineEdit(this);
    EdtLDN->setObjectName(QStringLiteral("EdtLDN"));
    EdtLDN->setGeometry(12, 37, 145, 21);

    BtnOK = new QPushButton(QStringLiteral("OK"), this);
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    BtnOK->setGeometry(79, 80, 75, 25);
    BtnOK->setDefault(true);
    connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);

    BtnAnnuler = new QPushButton(QStringLiteral("Annuler"), this);
    BtnAnnuler->setObjectName(QStringLiteral("BtnAnnuler"));
    BtnAnnuler->setGeometry(172, 80, 75, 25);
    BtnAnnuler->setAutoDefault(false);
    connect(BtnAnnuler, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(EdtLDN, BtnOK);
    setTabOrder(BtnOK, BtnAnnuler);
    EdtLDN->setFocus();
}

void TFrmSaisieLDN::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && plain) {
        // The focused button takes Enter; anywhere else it means OK.
        auto* focused = qobject_cast<QPushButton*>(focusWidget());
        (focused != nullptr ? focused : BtnOK)->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFrmSaisieLDN::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Typing replaces the last name; the name is still there to keep or edit.
    EdtLDN->setFocus(Qt::OtherFocusReason);
    EdtLDN->selectAll();
}

} // namespace zorv::app
