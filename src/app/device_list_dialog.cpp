#include "app/device_list_dialog.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/window_font.h"
#include "devices/device_kinds.h"
#include "hardware/discovery/device_report.h"

namespace zorv::app {
namespace {

namespace discovery = opos::discovery;

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

QString ToQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// The profile's spelling of a kind: its ProgID without "OPOS.".
QString ProfileKind(const devices::DeviceKind& kind) {
    return ToQString(kind.progId).section(QLatin1Char('.'), 1);
}

QString Aspect(const discovery::Candidate& device) {
    const std::string guess = discovery::GuessText(device.guess);
    return FromUtf8(guess.empty() ? discovery::FamilyText(device.family) : guess);
}

QString ShownName(const discovery::Candidate& device) {
    QString name = FromUtf8(device.name);
    if (!device.vendor.empty())
        name += QStringLiteral(" [%1:%2]").arg(FromUtf8(device.vendor), FromUtf8(device.product));
    return name.trimmed();
}

QString SectionText(const discovery::Listed& row) {
    QStringList lines;
    for (const std::string& line : row.section)
        lines << FromUtf8(line);
    return lines.join(QLatin1Char('\n'));
}

QTreeWidgetItem* MakeRow(const discovery::Listed& row) {
    const discovery::Candidate& device = *row.device;
    const bool refused = !device.access.empty();
    auto* item = new QTreeWidgetItem(QStringList{FromUtf8(device.path), ShownName(device), Aspect(device),
                                                 refused ? QStringLiteral("non") : QStringLiteral("oui")});
    if (refused)
        item->setToolTip(TFrmListePeriph::ColAcces, FromUtf8(device.access));
    return item;
}

} // namespace

TFrmListePeriph::TFrmListePeriph(DeviceDiscovery discovery, const QString& kindCaption, QWidget* parent)
    : QDialog(parent), FDiscovery(std::move(discovery)) {
    setObjectName(QStringLiteral("FrmListePeriph"));
    setWindowTitle(QStringLiteral("Périphériques détectés"));
    setFont(WindowFont());
    resize(640, 440);
    auto* layout = new QVBoxLayout(this);

    auto* kinds = new QHBoxLayout;
    kinds->addWidget(new QLabel(QStringLiteral("Type de périphérique :")));
    CbKind = new QComboBox;
    CbKind->setObjectName(QStringLiteral("CbKind"));
    kinds->addWidget(CbKind, 1);
    layout->addLayout(kinds);

    LvDevices = new QTreeWidget;
    LvDevices->setObjectName(QStringLiteral("LvDevices"));
    LvDevices->setHeaderLabels({QStringLiteral("Périphérique"), QStringLiteral("Nom"),
                                QStringLiteral("Ressemble à"), QStringLiteral("Accès")});
    LvDevices->setRootIsDecorated(false);
    LvDevices->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(LvDevices, 2);

    LbEtat = new QLabel;
    LbEtat->setObjectName(QStringLiteral("LbEtat"));
    LbEtat->setWordWrap(true);
    layout->addWidget(LbEtat);
    layout->addWidget(
        new QLabel(QStringLiteral("Lignes à copier dans le fichier de profils (zorv_opos.profiles) :")));
    MmProfil = new QPlainTextEdit;
    MmProfil->setObjectName(QStringLiteral("MmProfil"));
    MmProfil->setReadOnly(true);
    layout->addWidget(MmProfil, 1);
    LbAcces = new QLabel;
    LbAcces->setObjectName(QStringLiteral("LbAcces"));
    LbAcces->setWordWrap(true);
    LbAcces->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(LbAcces);

    CreateButtons();
    CreateKinds(kindCaption);
    connect(LvDevices, &QTreeWidget::currentItemChanged, this, [this] { ShowSelected(); });
    Actualiser();
}

void TFrmListePeriph::CreateKinds(const QString& kindCaption) {
    CbKind->addItem(QStringLiteral("Tous les types"), QString());
    for (const devices::DeviceKind& kind : devices::DeviceKinds()) {
        CbKind->addItem(ToQString(kind.displayName), ProfileKind(kind));
        if (ToQString(kind.displayName) == kindCaption)
            CbKind->setCurrentIndex(CbKind->count() - 1);
    }
    connect(CbKind, &QComboBox::currentIndexChanged, this, [this] { ShowList(); });
}

void TFrmListePeriph::CreateButtons() {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    const auto add = [&](const char* name, const QString& caption) {
        auto* button = new QPushButton(caption);
        button->setObjectName(QLatin1String(name));
        button->setAutoDefault(false);
        buttons->addWidget(button);
        return button;
    };
    BtnCopier = add("BtnCopier", QStringLiteral("Copier"));
    BtnActualiser = add("BtnActualiser", QStringLiteral("Actualiser"));
    BtnFermer = add("BtnFermer", QStringLiteral("Fermer"));
    BtnFermer->setDefault(true);
    static_cast<QVBoxLayout*>(layout())->addLayout(buttons);
    connect(BtnCopier, &QPushButton::clicked, this, [this] { Copier(); });
    connect(BtnActualiser, &QPushButton::clicked, this, [this] { Actualiser(); });
    connect(BtnFermer, &QPushButton::clicked, this, &QDialog::accept);
}

void TFrmListePeriph::Actualiser() {
    FDevices = discovery::ListDevices(FDiscovery.roots, FDiscovery.check);
    ShowList();
}

void TFrmListePeriph::ShowList() {
    FListed = discovery::ForKind(FDevices, CbKind->currentData().toString().toStdString());
    LvDevices->clear();
    for (const discovery::Listed& row : FListed)
        LvDevices->addTopLevelItem(MakeRow(row));
    LbEtat->setText(StateText());
    if (!FListed.empty())
        LvDevices->setCurrentItem(LvDevices->topLevelItem(0));
    ShowSelected();
}

QString TFrmListePeriph::StateText() const {
    const std::string kind = CbKind->currentData().toString().toStdString();
    QString text;
    if (FListed.empty()) {
        text = kind.empty() ? QStringLiteral("Aucun périphérique trouvé.")
                            : QStringLiteral("Aucun périphérique trouvé pour %1.").arg(CbKind->currentText());
    } else {
        const auto refused = std::count_if(FListed.begin(), FListed.end(), [](const discovery::Listed& row) {
            return !row.device->access.empty();
        });
        text = QStringLiteral("%1 périphérique(s) trouvé(s)").arg(FListed.size());
        text += refused == 0 ? QStringLiteral(".")
                             : QStringLiteral(", dont %1 que ZORV n'a pas le droit d'ouvrir (colonne Accès).")
                                   .arg(refused);
    }
    const std::string hint = discovery::KindHint(kind);
    return hint.empty() ? text : text + QLatin1Char(' ') + FromUtf8(hint);
}

void TFrmListePeriph::ShowSelected() {
    const int index = LvDevices->indexOfTopLevelItem(LvDevices->currentItem());
    const discovery::Listed* row = index >= 0 && index < static_cast<int>(FListed.size())
                                       ? &FListed[static_cast<std::size_t>(index)]
                                       : nullptr;
    MmProfil->setPlainText(row == nullptr ? QString() : SectionText(*row));
    LbAcces->setText(row == nullptr || row->device->access.empty() ? QString()
                                                                   : FromUtf8(row->device->access));
    BtnCopier->setEnabled(row != nullptr && !row->section.empty());
}

void TFrmListePeriph::Copier() {
    if (!MmProfil->toPlainText().isEmpty())
        QGuiApplication::clipboard()->setText(MmProfil->toPlainText() + QLatin1Char('\n'));
}

} // namespace zorv::app
