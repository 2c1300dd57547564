#include "Unit1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QScreen>

#include "BenchFont.h"
#include "CloseQuestion.h"
#include "DesignedArea.h"
#include "ErrorDisplay.h"
#include "PictureClipboard.h"
#include "ProtocolBox.h"
#include "ReadoutModel.h"
#include "SideWindow.h"

namespace velmora {
namespace {

/// The axis letters "X" and "Y" on the plot: the same face at 21 pixels (16 pt), drawn 5 %
/// narrower so that the letters keep their last column inside labels 13 and 14 pixels wide.
constexpr int kAxisLetterPixels = 21;
constexpr int kAxisLetterStretch = 95;

}  // namespace

TForm1::TForm1(QWidget* parent)
    : QWidget(parent),
      area_(std::make_unique<DesignedArea>(*this)),
      frameWatch_(new FrameWatch(*this, [this] { PlaceOnDesktop(); })) {
    // The bench font is the window's before its controls are made: each control is laid out
    // once, in it, and the desktop's default font is never loaded for them.
    setFont(BenchFont(kBenchFontPixels));
    ui.setupUi(area_->Client());
    area_->Adopt();
    model_ = new ReadoutModel(bench_, area_.get());
    ui.ValueListEditor1->setModel(model_);
    ui.Chart1->BindScene(bench_.Scene());
    SetUpLook();
    SetUpAccessibility();
    ConnectControls();
    RefreshOptions();
    // The plot is first in the tab order and holds the focus when the window is activated.
    ui.Chart1->setFocus(Qt::OtherFocusReason);
}

TForm1::~TForm1() = default;

void TForm1::SetUpLook() {
    // The window's ground is the desktop's window colour (white), not the button face; the
    // designed area, which fills the window, paints it.
    QPalette ground = palette();
    ground.setColor(QPalette::Window, ground.color(QPalette::Base));
    setPalette(ground);

    const QFont letters = BenchFont(kAxisLetterPixels, kAxisLetterStretch);
    ui.Label2->setFont(letters);
    ui.Label3->setFont(letters);
    // The letters lie over the plot without catching the mouse gestures meant for it.
    ui.Label2->setAttribute(Qt::WA_TransparentForMouseEvents);
    ui.Label3->setAttribute(Qt::WA_TransparentForMouseEvents);
    ui.Label13->setBuddy(ui.Memo1);
}

void TForm1::SetUpAccessibility() {
    for (QAbstractButton* button : findChildren<QAbstractButton*>()) {
        button->setAccessibleName(button->text());
    }
    for (QLabel* label : findChildren<QLabel*>()) {
        label->setAccessibleName(label->text());
    }
    ui.Memo1->setAccessibleName(ui.Label13->text());
    ui.Chart1->setAccessibleName(QStringLiteral("Рисунок"));
    ui.ValueListEditor1->setAccessibleName(QStringLiteral("Показания"));
}

void TForm1::ConnectControls() {
    const std::pair<QPushButton*, void (TForm1::*)()> handlers[] = {
        {ui.Button1, &TForm1::Button1Click},   {ui.Button2, &TForm1::Button2Click},
        {ui.Button3, &TForm1::Button3Click},   {ui.Button4, &TForm1::Button4Click},
        {ui.Button5, &TForm1::Button5Click},   {ui.Button6, &TForm1::Button6Click},
        {ui.Button7, &TForm1::Button7Click},   {ui.Button8, &TForm1::Button8Click},
        {ui.Button9, &TForm1::Button9Click},   {ui.Button10, &TForm1::Button10Click},
        {ui.Button11, &TForm1::Button11Click}, {ui.Button12, &TForm1::Button12Click},
    };
    for (const auto& [button, handler] : handlers) {
        connect(button, &QPushButton::clicked, this,
                [this, handler] { CallShowingErrors([this, handler] { (this->*handler)(); }); });
        button->installEventFilter(this);
    }
    // The option boxes carry no action: a command reads them when it runs.
    connect(ui.CheckBox1, &QCheckBox::toggled, this,
            [this](bool on) { bench_.SetOption(BenchOption::FixAngle, on); });
    connect(ui.CheckBox2, &QCheckBox::toggled, this,
            [this](bool on) { bench_.SetOption(BenchOption::SumCirculation, on); });
    connect(ui.CheckBox3, &QCheckBox::toggled, this,
            [this](bool on) { bench_.SetOption(BenchOption::WriteProtocol, on); });
}

void TForm1::Button1Click() {
    RunCommand(Command::Reset);
}
void TForm1::Button2Click() {
    RunCommand(Command::Move);
}
void TForm1::Button3Click() {
    RunCommand(Command::RotateMinus);
}
void TForm1::Button4Click() {
    RunCommand(Command::RotatePlus);
}
void TForm1::Button5Click() {
    RunCommand(Command::EraseProtocol);
}
void TForm1::Button6Click() {
    RunCommand(Command::StepX);
}
void TForm1::Button7Click() {
    RunCommand(Command::StepY);
}
void TForm1::SetSideWindows(SideWindow& information, SideWindow& apparatus) {
    information_ = &information;
    apparatus_ = &apparatus;
}

void TForm1::Button8Click() {
    if (information_ != nullptr) {
        information_->ShowAndRaise();
    }
}
void TForm1::Button10Click() {
    RunCommand(Command::GoToStart);
}
void TForm1::Button11Click() {
    if (apparatus_ != nullptr) {
        apparatus_->ShowAndRaise();
    }
}
void TForm1::Button12Click() {
    RunCommand(Command::RecordValues);
}

void TForm1::Button9Click() {
    // The picture is made before the clipboard is touched, so a failure while making it
    // leaves the clipboard as it was.
    PutPictureOnClipboard(ui.Chart1->RenderSvg());
}

void TForm1::RunCommand(Command command) {
    // A command that fails changes nothing in the bench, so there is nothing to show.
    bench_.Run(command);
    RefreshViews();
}

void TForm1::RefreshViews() {
    for (int row : model_->Refresh()) {
        ui.ValueListEditor1->AnnounceValueChange(row);
    }
    RefreshProtocol();
    RefreshOptions();
    ui.Chart1->Refresh();
}

void TForm1::RefreshProtocol() {
    const ProtocolLog& log = bench_.Protocol();
    if (log.ClearCount() != shownClears_ || log.Lines().size() < shownLines_) {
        ui.Memo1->Empty();
        shownClears_ = log.ClearCount();
        shownLines_ = 0;
    }
    if (log.Lines().size() == shownLines_) {
        return;
    }
    QStringList lines;
    for (std::size_t i = shownLines_; i < log.Lines().size(); ++i) {
        lines.append(QString::fromStdU16String(log.Lines()[i]));
    }
    shownLines_ = log.Lines().size();
    ui.Memo1->AppendLines(lines);
}

void TForm1::RefreshOptions() {
    const BenchOptions& options = bench_.Options();
    ui.CheckBox1->setChecked(options.FixAngle);
    ui.CheckBox2->setChecked(options.SumCirculation);
    ui.CheckBox3->setChecked(options.WriteProtocol);
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (everShown_) {
        return;
    }
    everShown_ = true;
    PlaceOnDesktop();
    frameWatch_->Start();
    CallShowingErrors([this] { Button1Click(); });
}

bool TForm1::FormCloseQuery() {
    return AskCloseQuestion(this);
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    event->accept();
    QCoreApplication::quit();
}

void TForm1::PlaceOnDesktop() {
    QScreen* display = screen();
    if (display == nullptr) {
        return;
    }
    // The window is centred on the desktop, the area all monitors span; its work area is that
    // of the monitor that holds the desktop's centre.
    const QRect desktop = display->virtualGeometry();
    const QScreen* centre = display->virtualSiblingAt(desktop.center());
    const QRect workArea = (centre != nullptr ? centre : display)->availableGeometry();
    setGeometry(area_->OpeningArea(KnownFrame(*this), desktop, workArea));
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
        const bool plain = (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (enter && plain) {
            if (auto* button = qobject_cast<QPushButton*>(watched); button != nullptr) {
                if (!key.isAutoRepeat()) {
                    button->click();
                }
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace velmora
