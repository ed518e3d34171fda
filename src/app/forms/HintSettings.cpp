#include "app/forms/HintSettings.h"

#include <QApplication>
#include <QHelpEvent>
#include <QPalette>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTextDocument>
#include <QToolTip>
#include <QWidget>

namespace zol {
namespace {

constexpr int kWakeUp = 1000;
constexpr int kShown = 60000;
const QColor kHintColour(197, 210, 223);

class HintStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay)
            return kWakeUp;
        // No quick hand-over from one hint to the next: each control waits its own delay.
        if (hint == SH_ToolTip_FallAsleepDelay)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// Shows a widget's own hint for a minute, its lines wrapped at a readable width.
class HintFilter : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ToolTip || !watched->isWidgetType())
            return false;
        auto* w = static_cast<QWidget*>(watched);
        const QString tip = w->toolTip();
        if (tip.isEmpty())
            return false;
        const auto* help = static_cast<QHelpEvent*>(event);
        QString shown = tip;
        if (!Qt::mightBeRichText(tip)) {
            // Plain text is not wrapped by the hint window: as rich text it is.
            shown = tip.toHtmlEscaped();
            shown.replace(QLatin1Char('\n'), QLatin1String("<br>"));
            shown = QStringLiteral("<p style=\"white-space: normal;\">%1</p>").arg(shown);
        }
        QToolTip::showText(help->globalPos(), shown, w, QRect(), kShown);
        return true;
    }
};

} // namespace

void applyHintSettings(QApplication& app)
{
    app.setStyle(new HintStyle(QStyleFactory::create(QStringLiteral("Fusion"))));
    QPalette tip = QToolTip::palette();
    tip.setColor(QPalette::ToolTipBase, kHintColour);
    tip.setColor(QPalette::Window, kHintColour);
    tip.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(tip);
    QPalette p = app.palette();
    p.setColor(QPalette::ToolTipBase, kHintColour);
    p.setColor(QPalette::ToolTipText, Qt::black);
    app.setPalette(p);
    app.installEventFilter(new HintFilter(&app));
}

} // namespace zol
