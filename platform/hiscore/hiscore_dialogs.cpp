#include "hiscore_dialogs.h"

#include <cstdio>

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace blok::qt {

namespace {

// Qt counts UTF-16 units here; the table's own limit in bytes is applied when the name is stored.
constexpr int kTypedNameMaxCharacters = static_cast<int>(kTypedNameMaxBytes);

QPushButton* DefaultButton(const QString& text, QDialog* dialog) {
    auto* button = new QPushButton(text, dialog);
    button->setDefault(true);
    QObject::connect(button, &QPushButton::clicked, dialog, &QDialog::accept);
    return button;
}

QFrame* ScoreRow(const HiscoreTable& table, int entry, QWidget* parent) {
    auto* frame = new QFrame(parent);
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* name =
        new QLabel(QString::fromStdString(DisplayUtf8(HiscoreRowText(table, entry))), frame);
    auto* points = new QLabel(QString::fromStdString(HiscorePointsText(table, entry)), frame);
    name->setObjectName(QStringLiteral("rowName%1").arg(entry + 1));
    points->setObjectName(QStringLiteral("rowPoints%1").arg(entry + 1));
    name->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    points->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Names may hold any byte; they are never markup.
    name->setTextFormat(Qt::PlainText);
    auto* layout = new QHBoxLayout(frame);
    layout->setContentsMargins(4, 1, 4, 1);
    layout->addWidget(name, 1);
    layout->addWidget(points);
    return frame;
}

}  // namespace

NameDialog::NameDialog(QWidget* owner, std::chrono::milliseconds settle)
    : QDialog(owner), edit_(new QLineEdit(this)), settle_(settle) {
    setObjectName(QStringLiteral("Dialog_2"));
    setWindowTitle(QStringLiteral("Hiscore"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);

    edit_->setMaxLength(kTypedNameMaxCharacters);
    edit_->setText(QStringLiteral("Nobody"));
    edit_->selectAll();  // typing replaces the preset

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("Congratulations , your in the Hiscore-Table"), this));
    layout->addWidget(new QLabel(QStringLiteral("Tell me your name"), this));
    layout->addWidget(edit_);
    layout->addWidget(DefaultButton(QStringLiteral("&OK"), this), 0, Qt::AlignHCenter);
    edit_->setFocus();
    edit_->installEventFilter(this);
}

bool NameDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const quint32 id =
            key->nativeScanCode() != 0 ? key->nativeScanCode() : static_cast<quint32>(key->key());
        const bool press = event->type() == QEvent::KeyPress;
        if (key->isAutoRepeat()) {
            if (!pressedHere_.contains(id)) return true;  // held since before
        } else if (!press) {
            pressedHere_.remove(id);
        } else if (Settling()) {
            return true;
        } else {
            pressedHere_.insert(id);
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool NameDialog::Settling() const {
    return settle_.count() > 0 && (!shown_.isValid() || shown_.elapsed() < settle_.count());
}

void NameDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!shown_.isValid()) shown_.start();
}

std::string NameDialog::Name() const {
    return edit_->text().toUtf8().toStdString();
}

void NameDialog::reject() {}

void NameDialog::closeEvent(QCloseEvent* event) {
    accept();
    event->accept();
}

ScoreTableDialog::ScoreTableDialog(const HiscoreTable& table, QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("Dialog_3"));
    setWindowTitle(QStringLiteral("HISCORE-TABLE"));
    setModal(true);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("NAME"), this), 0, 0, Qt::AlignLeft);
    layout->addWidget(new QLabel(QStringLiteral("POINTS"), this), 0, 0, Qt::AlignRight);
    for (int entry = 0; entry < kHiscoreEntries; ++entry) {
        layout->addWidget(ScoreRow(table, entry, this), entry + 1, 0);
    }
    layout->addWidget(DefaultButton(QStringLiteral("OK"), this), kHiscoreEntries + 1, 0,
                      Qt::AlignHCenter);
    setMinimumWidth(300);
}

QtHiscoreDialogs::QtHiscoreDialogs(QWidget* owner) : owner_(owner) {}

void QtHiscoreDialogs::SetOwner(QWidget* owner) {
    owner_ = owner;
}

std::string QtHiscoreDialogs::RunNameDialog() {
    // Held by a guard: the owner may go away while the nested loop runs, taking the dialog along;
    // the name typed so far is kept then, too.
    QPointer<NameDialog> dialog = new NameDialog(owner_, nameSettle_);
    std::string name = dialog->Name();
    QObject::connect(dialog->NameEdit(), &QLineEdit::textChanged, dialog,
                     [&name](const QString& text) { name = text.toUtf8().toStdString(); });
    dialog->exec();
    delete dialog;
    return name;
}

void QtHiscoreDialogs::RunScoreTable(const HiscoreTable& table) {
    QPointer<ScoreTableDialog> dialog = new ScoreTableDialog(table, owner_);
    dialog->exec();
    delete dialog;
}

void QtHiscoreDialogs::ReportSaveFailure(const std::string& text) {
    // On the terminal too, where it outlasts the box.
    std::fprintf(stderr, "Blokfall: %s\n", text.c_str());
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Hiscore"), QString::fromStdString(text),
                    QMessageBox::Ok, owner_);
    box.exec();
}

}  // namespace blok::qt
