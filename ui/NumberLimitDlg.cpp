#include "NumberLimitDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <limits>

#include "DialogResult.h"
#include "GameRules.h"
#include "IntegerField.h"
#include "Language.h"
#include "PaintHelper.h"
#include "Settings.h"

namespace zorvi {

namespace {

// A game's limit: 0 (none) up to the most numbers a game has.
constexpr IntegerFieldRule kLimitField{0, GameRules::kHighestNumberLimit, true};

} // namespace

NumberLimitDlg::NumberLimitDlg(const Settings& settings, const PaintHelper& paint, int limit,
                               QWidget* owner)
    : PromptDialog(owner, 10, 217, 109, true), prompts_(this), limit_(limit) {
    const int lang = settings.language;
    auto* prompt = new QLabel(
        QString::fromStdString(Language::GetText(TextId::TXT_NUMBER_LIMIT_FOR_GAME, lang)), this);
    prompt->setObjectName(QStringLiteral("1096"));
    prompt->setGeometry(units().Rect(21, 7, 179, 13));
    prompt->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    prompt->setTextFormat(Qt::PlainText);

    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("1098"));
    edit_->setGeometry(units().Rect(21, 23, 76, 50));
    edit_->setAlignment(Qt::AlignCenter);
    edit_->setFont(paint.font_limit);
    edit_->setText(QString::number(limit_));

    // Up and down arrows as two buttons of their own; they change the edit's number, they are
    // not tied to it.
    const QRect arrows = units().Rect(97, 23, 34, 50);
    auto* up = new QToolButton(this);
    up->setObjectName(QStringLiteral("1097up"));
    up->setArrowType(Qt::UpArrow);
    up->setGeometry(arrows.x(), arrows.y(), arrows.width(), arrows.height() / 2);
    up->setFocusPolicy(Qt::NoFocus);
    auto* down = new QToolButton(this);
    down->setObjectName(QStringLiteral("1097down"));
    down->setArrowType(Qt::DownArrow);
    down->setGeometry(arrows.x(), arrows.y() + arrows.height() / 2, arrows.width(),
                      arrows.height() - arrows.height() / 2);
    down->setFocusPolicy(Qt::NoFocus);
    connect(up, &QToolButton::clicked, this, [this] { Step(1); });
    connect(down, &QToolButton::clicked, this, [this] { Step(-1); });

    auto* ok = AddButton(1, QStringLiteral("OK"), units().Rect(138, 23, 62, 50), true);
    connect(ok, &QPushButton::clicked, this, &NumberLimitDlg::accept);
    auto* skip =
        AddButton(2, QString::fromStdString(Language::GetText(TextId::TXT_SKIP_NUMBER_LIMIT, lang)),
                  units().Rect(21, 81, 179, 21), false);
    connect(skip, &QPushButton::clicked, this, &NumberLimitDlg::reject);

    edit_->setFocus();
    edit_->selectAll();
}

void NumberLimitDlg::Step(int delta) {
    // On purpose: the stored limit moves, not the edit's text, and without bounds (OK checks
    // the range); held inside int so that no press can overflow.
    if (delta > 0 && limit_ < std::numeric_limits<int>::max())
        ++limit_;
    else if (delta < 0 && limit_ > std::numeric_limits<int>::min())
        --limit_;
    edit_->setText(QString::number(limit_));
}

void NumberLimitDlg::accept() {
    const IntegerFieldVerdict verdict = ReadIntegerField(edit_->text().toStdString(), kLimitField);
    if (!verdict.value) {
        prompts_.FieldWarning(QString::fromStdString(verdict.message));
        edit_->setFocus();
        edit_->selectAll();
        return;
    }
    limit_ = int(*verdict.value);
    done(kResultOk);
}

} // namespace zorvi
