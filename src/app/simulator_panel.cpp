#include "app/simulator_panel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <iterator>

#include "app/simulator_tips.h"
#include "app/window_font.h"
#include "outside/error_report.h"
#include "outside/late_bound.h"
#include "platform/com/bstr_value.h"
#include "views/event_names.h"

namespace zorv::app {
namespace {

using devices::DeviceKindId;

// The simulation's DirectIO commands.
constexpr LONG kInput = 1;
constexpr LONG kError = 2;
constexpr LONG kPower = 3;
constexpr LONG kSensor = 5;

constexpr LONG kPowerOnline = 2001;
constexpr LONG kPowerOff = 2002;
constexpr LONG kPowerOffline = 2003;

struct Symbology {
    const char* caption;
    LONG code;
};
constexpr Symbology kSymbologies[] = {{"Reconnue d'après l'étiquette", 0},
                                      {"UPC-A (101)", 101},
                                      {"UPC-E (102)", 102},
                                      {"EAN-8 (103)", 103},
                                      {"EAN-13 (104)", 104},
                                      {"Code 39 (108)", 108},
                                      {"Code 128 (110)", 110}};

constexpr const char* kGoodLabel = "4006381333931";
// ISO 7813 format B tracks of a test card.
constexpr const char* kGoodTrack1 = "B4111111111111111^DUPONT/JEAN M.MR^29121010000000000000";
constexpr const char* kGoodTrack2 = "4111111111111111=29121010000000000";
// A letter has no place on track 2: a parity error.
constexpr const char* kBadTrack2 = "41111111X1111111=2912101";

QString Q(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QHBoxLayout* Row(QWidget* page) {
    auto* row = new QHBoxLayout;
    static_cast<QVBoxLayout*>(page->layout())->addLayout(row);
    return row;
}

QWidget* Page(QWidget* parent, const QString& name) {
    auto* page = new QWidget(parent);
    page->setObjectName(name);
    new QVBoxLayout(page);
    return page;
}

bool DescribedAsSimulated(const std::u16string& text) {
    return Q(text).contains(QStringLiteral("simulat"), Qt::CaseInsensitive) ||
           Q(text).contains(QStringLiteral("simulé"), Qt::CaseInsensitive);
}

} // namespace

TSimulatorPanel::TSimulatorPanel(SimulatorHost host, QWidget* parent)
    : QWidget(parent, Qt::Window), FHost(std::move(host)) {
    setObjectName(QStringLiteral("FrmSimulateur"));
    setWindowTitle(QStringLiteral("Simulateur - ZORV"));
    setFont(WindowFont());
    auto* layout = new QVBoxLayout(this);
    LbEtat = new QLabel(this);
    LbEtat->setObjectName(QStringLiteral("LbEtat"));
    LbEtat->setWordWrap(true);
    layout->addWidget(LbEtat);

    Pages = new QStackedWidget(this);
    Pages->setObjectName(QStringLiteral("Pages"));
    using Builder = QWidget* (TSimulatorPanel::*)();
    // In kind order.
    constexpr Builder kBuilders[] = {
        &TSimulatorPanel::CreateScannerPage,     &TSimulatorPanel::CreatePrinterPage,
        &TSimulatorPanel::CreateLineDisplayPage, &TSimulatorPanel::CreateKeylockPage,
        &TSimulatorPanel::CreateMSRPage,         &TSimulatorPanel::CreatePOSKeyboardPage,
        &TSimulatorPanel::CreateCashDrawerPage};
    static_assert(std::size(kBuilders) == devices::kKindCount);
    for (Builder build : kBuilders)
        Pages->addWidget((this->*build)());
    layout->addWidget(Pages);
    FCommon = CreateCommonInputs();
    layout->addWidget(FCommon);

    LbResultat = new TElidedLabel(this);
    LbResultat->setObjectName(QStringLiteral("LbResultat"));
    LbResultat->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(LbResultat);
    layout->addStretch(1);
    UpdateState();
}

QPushButton* TSimulatorPanel::AddButton(QWidget* page, const QString& name, const QString& caption,
                                        std::function<void()> action) {
    auto* button = new QPushButton(caption, page);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setToolTip(SimulatorButtonTip(name));
    connect(button, &QPushButton::clicked, this, [action = std::move(action)] { outside::Guarded(action); });
    return button;
}

QPushButton* TSimulatorPanel::Button(const QString& name) const {
    return findChild<QPushButton*>(name);
}

QWidget* TSimulatorPanel::CreateScannerPage() {
    QWidget* page = Page(this, QStringLiteral("PageScanner"));
    CbSymbology = new QComboBox(page);
    CbSymbology->setObjectName(QStringLiteral("CbSymbology"));
    for (const Symbology& symbology : kSymbologies)
        CbSymbology->addItem(QString::fromUtf8(symbology.caption), static_cast<int>(symbology.code));
    EdtLabel = new QLineEdit(QString::fromLatin1(kGoodLabel), page);
    EdtLabel->setObjectName(QStringLiteral("EdtLabel"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Symbologie :"), CbSymbology);
    form->addRow(QStringLiteral("Étiquette :"), EdtLabel);
    static_cast<QVBoxLayout*>(page->layout())->addLayout(form);
    QHBoxLayout* row = Row(page);
    row->addWidget(AddButton(page, QStringLiteral("BtnScan"), QStringLiteral("Lire l'étiquette"), [this] {
        DirectIO(kInput, CbSymbology->currentData().toInt(), EdtLabel->text());
    }));
    row->addWidget(AddButton(page, QStringLiteral("BtnGoodScan"), QStringLiteral("Bonne lecture"), [this] {
        CbSymbology->setCurrentIndex(0);
        EdtLabel->setText(QString::fromLatin1(kGoodLabel));
        DirectIO(kInput, 0, EdtLabel->text());
    }));
    row->addWidget(AddButton(page, QStringLiteral("BtnBadScan"), QStringLiteral("Mauvaise lecture"),
                             [this] { DirectIO(kError, 0, QString()); }));
    return page;
}

QWidget* TSimulatorPanel::CreatePrinterPage() {
    QWidget* page = Page(this, QStringLiteral("PagePrinter"));
    QHBoxLayout* cover = Row(page);
    cover->addWidget(new QLabel(QStringLiteral("Capot :"), page));
    cover->addWidget(AddButton(page, QStringLiteral("BtnCoverOpen"), QStringLiteral("Ouvrir"),
                               [this] { DirectIO(kSensor, 0, QStringLiteral("open")); }));
    cover->addWidget(AddButton(page, QStringLiteral("BtnCoverClosed"), QStringLiteral("Fermer"),
                               [this] { DirectIO(kSensor, 0, QStringLiteral("closed")); }));
    QHBoxLayout* paper = Row(page);
    CbStation = new QComboBox(page);
    CbStation->setObjectName(QStringLiteral("CbStation"));
    CbStation->addItem(QStringLiteral("Journal"), 1);
    CbStation->addItem(QStringLiteral("Ticket"), 2);
    CbStation->addItem(QStringLiteral("Bordereau"), 4);
    CbStation->setCurrentIndex(1);
    paper->addWidget(new QLabel(QStringLiteral("Papier :"), page));
    paper->addWidget(CbStation);
    const struct {
        const char* name;
        const char* caption;
        const char* state;
    } kPaper[] = {{"BtnPaperEmpty", "Vide", "empty"},
                  {"BtnPaperNearEnd", "Presque fini", "nearend"},
                  {"BtnPaperOk", "Rechargé", "ok"}};
    for (const auto& p : kPaper)
        paper->addWidget(
            AddButton(page, QString::fromLatin1(p.name), QString::fromUtf8(p.caption), [this, p] {
                DirectIO(kSensor, CbStation->currentData().toInt(), QString::fromLatin1(p.state));
            }));
    Row(page)->addWidget(AddButton(page, QStringLiteral("BtnOutputError"),
                                   QStringLiteral("Faire échouer la prochaine impression"),
                                   [this] { DirectIO(kError, SpnExtended->value(), QString()); }));
    return page;
}

QWidget* TSimulatorPanel::CreateLineDisplayPage() {
    QWidget* page = Page(this, QStringLiteral("PageLineDisplay"));
    page->layout()->addWidget(new QLabel(
        QStringLiteral("L'afficheur n'a pas d'entrée ; son alimentation se règle ci-dessous."), page));
    return page;
}

QWidget* TSimulatorPanel::CreateKeylockPage() {
    QWidget* page = Page(this, QStringLiteral("PageKeylock"));
    QHBoxLayout* row = Row(page);
    row->addWidget(new QLabel(QStringLiteral("Tourner la clé :"), page));
    const struct {
        const char* name;
        const char* caption;
        LONG position;
    } kPositions[] = {{"BtnKeyLock", "LOCK_KP_LOCK", 1},
                      {"BtnKeyNorm", "LOCK_KP_NORM", 2},
                      {"BtnKeySupr", "LOCK_KP_SUPR", 3}};
    for (const auto& p : kPositions)
        row->addWidget(AddButton(page, QString::fromLatin1(p.name), QString::fromLatin1(p.caption),
                                 [this, p] { DirectIO(kInput, p.position, QString()); }));
    return page;
}

QWidget* TSimulatorPanel::CreateMSRPage() {
    QWidget* page = Page(this, QStringLiteral("PageMSR"));
    auto* form = new QFormLayout;
    for (int i = 0; i < 3; ++i) {
        EdtTrack[i] = new QLineEdit(page);
        EdtTrack[i]->setObjectName(QStringLiteral("EdtTrack%1").arg(i + 1));
        form->addRow(QStringLiteral("Piste %1 :").arg(i + 1), EdtTrack[i]);
    }
    EdtTrack[0]->setText(QString::fromLatin1(kGoodTrack1));
    EdtTrack[1]->setText(QString::fromLatin1(kGoodTrack2));
    static_cast<QVBoxLayout*>(page->layout())->addLayout(form);
    QHBoxLayout* row = Row(page);
    row->addWidget(
        AddButton(page, QStringLiteral("BtnSwipe"), QStringLiteral("Passer la carte"), [this] { Swipe(); }));
    row->addWidget(AddButton(page, QStringLiteral("BtnGoodCard"), QStringLiteral("Carte valide"), [this] {
        EdtTrack[0]->setText(QString::fromLatin1(kGoodTrack1));
        EdtTrack[1]->setText(QString::fromLatin1(kGoodTrack2));
        EdtTrack[2]->clear();
        Swipe();
    }));
    row->addWidget(AddButton(page, QStringLiteral("BtnBadTrack"), QStringLiteral("Piste illisible"), [this] {
        EdtTrack[0]->setText(QString::fromLatin1(kGoodTrack1));
        EdtTrack[1]->setText(QString::fromLatin1(kBadTrack2));
        EdtTrack[2]->clear();
        Swipe();
    }));
    return page;
}

QWidget* TSimulatorPanel::CreatePOSKeyboardPage() {
    QWidget* page = Page(this, QStringLiteral("PagePOSKeyboard"));
    QHBoxLayout* row = Row(page);
    SpnKeyCode = new QSpinBox(page);
    SpnKeyCode->setObjectName(QStringLiteral("SpnKeyCode"));
    SpnKeyCode->setRange(0, 255);
    SpnKeyCode->setValue(65);
    row->addWidget(new QLabel(QStringLiteral("Code de touche :"), page));
    row->addWidget(SpnKeyCode);
    const struct {
        const char* name;
        const char* caption;
        const char* how;
    } kPresses[] = {
        {"BtnKeyDown", "Enfoncer", "down"}, {"BtnKeyUp", "Relâcher", "up"}, {"BtnKeyPress", "Frapper", ""}};
    for (const auto& p : kPresses)
        row->addWidget(AddButton(page, QString::fromLatin1(p.name), QString::fromUtf8(p.caption), [this, p] {
            DirectIO(kInput, SpnKeyCode->value(), QString::fromLatin1(p.how));
        }));
    return page;
}

QWidget* TSimulatorPanel::CreateCashDrawerPage() {
    QWidget* page = Page(this, QStringLiteral("PageCashDrawer"));
    QHBoxLayout* row = Row(page);
    row->addWidget(AddButton(page, QStringLiteral("BtnDrawerOpen"), QStringLiteral("Ouvrir le tiroir"),
                             [this] { OpenDrawer(); }));
    row->addWidget(AddButton(page, QStringLiteral("BtnDrawerClose"), QStringLiteral("Repousser le tiroir"),
                             [this] { DirectIO(kInput, 0, QString()); }));
    return page;
}

QWidget* TSimulatorPanel::CreateCommonInputs() {
    QWidget* box = Page(this, QStringLiteral("PageCommon"));
    QHBoxLayout* power = Row(box);
    power->addWidget(new QLabel(QStringLiteral("Alimentation :"), box));
    power->addWidget(AddButton(box, QStringLiteral("BtnPowerOn"), QStringLiteral("En ligne"),
                               [this] { DirectIO(kPower, kPowerOnline, QString()); }));
    power->addWidget(AddButton(box, QStringLiteral("BtnPowerOff"), QStringLiteral("Hors tension"),
                               [this] { DirectIO(kPower, kPowerOff, QString()); }));
    power->addWidget(AddButton(box, QStringLiteral("BtnPowerOffline"), QStringLiteral("Hors ligne"),
                               [this] { DirectIO(kPower, kPowerOffline, QString()); }));
    QHBoxLayout* error = Row(box);
    SpnExtended = new QSpinBox(box);
    SpnExtended->setObjectName(QStringLiteral("SpnExtended"));
    SpnExtended->setRange(0, 9999);
    SpnExtended->setToolTip(QStringLiteral("0 : échec simple (OPOS_E_FAILURE) ; sinon ResultCodeExtended"));
    error->addWidget(new QLabel(QStringLiteral("Code étendu :"), box));
    error->addWidget(SpnExtended);
    error->addWidget(AddButton(box, QStringLiteral("BtnInputError"), QStringLiteral("Erreur d'entrée"),
                               [this] { InputError(); }));
    return box;
}

void TSimulatorPanel::Swipe() {
    QStringList tracks;
    for (QLineEdit* track : EdtTrack)
        tracks << track->text();
    while (!tracks.isEmpty() && tracks.last().isEmpty())
        tracks.removeLast();
    DirectIO(kInput, 0, tracks.join(QLatin1Char('|')));
}

void TSimulatorPanel::InputError() {
    DirectIO(kError, SpnExtended->value(), QString());
}

LONG TSimulatorPanel::DirectIO(LONG command, LONG data, const QString& text) {
    devices::TZORVDeviceControl* control = FHost.current ? FHost.current() : nullptr;
    if (control == nullptr || !FInputsEnabled)
        return -1;
    devices::DeviceCall call{
        u"DirectIO",
        QStringLiteral("%1, %2, \"%3\"").arg(command).arg(data).arg(text).toStdU16String(),
        std::nullopt,
        {}};
    LONG dataArg = data;
    com::Bstr textArg(text.toStdU16String());
    try {
        call.result = outside::ToLong(
            outside::CallMethod(control->DeviceObject().Get(), u"DirectIO",
                                {command, outside::Arg::Ref(dataArg), outside::Arg::Ref(textArg)}));
    } catch (const std::exception& error) {
        call.failure = outside::ErrorText(error);
        Finish(*control, call);
        throw;
    }
    Finish(*control, call);
    return *call.result;
}

void TSimulatorPanel::OpenDrawer() {
    devices::TZORVDeviceControl* control = FHost.current ? FHost.current() : nullptr;
    if (control == nullptr || !FInputsEnabled)
        return;
    devices::DeviceCall call{u"OpenDrawer", {}, std::nullopt, {}};
    try {
        call.result = outside::ToLong(outside::CallMethod(control->DeviceObject().Get(), u"OpenDrawer"));
    } catch (const std::exception& error) {
        call.failure = outside::ErrorText(error);
        Finish(*control, call);
        throw;
    }
    Finish(*control, call);
}

void TSimulatorPanel::Finish(devices::TZORVDeviceControl& control, const devices::DeviceCall& call) {
    if (FHost.record)
        FHost.record(control, call);
    QString shown = Q(call.member) + QLatin1Char('(') + Q(call.argument) + QStringLiteral(") → ");
    shown += call.failure.empty() ? Q(views::NamedResultCode(call.result.value_or(0))) : Q(call.failure);
    LbResultat->SetFullText(shown);
    if (FHost.refresh)
        FHost.refresh();
    else
        UpdateState();
}

void TSimulatorPanel::UpdateState() {
    devices::TZORVDeviceControl* control = FHost.current ? FHost.current() : nullptr;
    FInputsEnabled = false;
    QString state;
    if (control == nullptr) {
        state = QStringLiteral("Aucun périphérique courant.");
    } else {
        Pages->setCurrentIndex(static_cast<int>(devices::IndexOf(control->Kind().id)));
        const QString kind = Q(control->Kind().displayName);
        try {
            IDispatch* device = control->DeviceObject().Get();
            const bool closed = outside::ToLong(outside::GetProperty(device, u"State")) == 1;
            if (closed) {
                state = QStringLiteral("Le périphérique %1 n'est pas ouvert.").arg(kind);
            } else {
                const std::u16string name = outside::ToText(outside::GetProperty(device, u"DeviceName"));
                const std::u16string description =
                    outside::ToText(outside::GetProperty(device, u"DeviceDescription"));
                FInputsEnabled = DescribedAsSimulated(description);
                state =
                    FInputsEnabled
                        ? QStringLiteral("%1 « %2 » : périphérique simulé.").arg(kind, Q(name))
                        : QStringLiteral("Le périphérique %1 « %2 » n'est pas simulé.").arg(kind, Q(name));
            }
        } catch (const std::exception& error) {
            state = QStringLiteral("Le périphérique %1 ne répond pas : %2")
                        .arg(kind, Q(outside::ErrorText(error)));
        }
    }
    LbEtat->setText(state);
    Pages->setEnabled(FInputsEnabled);
    FCommon->setEnabled(FInputsEnabled);
}

} // namespace zorv::app
