#include <pavisade/cells/XXXPopUpButtonCell.h>

#include <bastwick/platform/Log.h>

#include <QtGui/QMouseEvent>
#include <QtWidgets/QComboBox>

namespace {

QString rectText(const QRect &r)
{
    return QStringLiteral("{{%1, %2}, {%3, %4}}").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

} // namespace

XXXPopUpButtonCell::XXXPopUpButtonCell(const QString &text, QWidget *parent)
    : Pavisade::TitledChoiceCell(text, false, parent)
{
    comboBox()->installEventFilter(this);
}

bool XXXPopUpButtonCell::trackMouse(const QPoint &position) const
{
    XXXLog(QStringLiteral("trackMouse mTitleWidth=%1 rect=%2")
               .arg(double(storedTitleWidth()), 0, 'f', 6)
               .arg(rectText(choiceRect())));
    return position.x() > storedTitleWidth();
}

bool XXXPopUpButtonCell::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        auto *widget = qobject_cast<QWidget *>(watched);
        const auto *press = static_cast<QMouseEvent *>(event);
        if (widget && !trackMouse(widget->mapTo(this, press->position().toPoint())))
            return true;
    }
    return Pavisade::TitledChoiceCell::eventFilter(watched, event);
}

FXPopUpButtonCell::FXPopUpButtonCell(const QString &text, QWidget *parent)
    : Pavisade::TitledChoiceCell(QString(), false, parent)
{
    setStoredTitleWidth(20.0f);
    if (!text.isEmpty())
        comboBox()->addItem(text);
}
