#include "archive/forms/TDlgDPDbOnProgress.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace zol {

TDlgDPDbOnProgress::TDlgDPDbOnProgress(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_labInfo(new QLabel(this)),
      m_gauge(new QProgressBar(this))
{
    setObjectName(QStringLiteral("DlgDPDbOnProgress"));
    setWindowTitle(QStringLiteral("Attendere prego ..."));
    setModal(false);
    m_labInfo->setObjectName(QStringLiteral("LabInfo"));
    QFont bold = m_labInfo->font();
    bold.setBold(true);
    m_labInfo->setFont(bold);
    m_labInfo->setMinimumWidth(360);
    m_gauge->setObjectName(QStringLiteral("ProgressGauge"));
    m_gauge->setRange(0, 100);
    m_gauge->setValue(0);
    m_gauge->setFormat(QStringLiteral("%p%"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(12);
    layout->addWidget(m_labInfo);
    layout->addWidget(m_gauge);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TDlgDPDbOnProgress::setCaption(const QString& caption)
{
    setWindowTitle(caption);
}

void TDlgDPDbOnProgress::setInfo(const QString& text)
{
    m_labInfo->setText(text);
}

void TDlgDPDbOnProgress::setPercent(int percent)
{
    m_gauge->setValue(qBound(0, percent, 100));
}

QString TDlgDPDbOnProgress::info() const
{
    return m_labInfo->text();
}

int TDlgDPDbOnProgress::percent() const
{
    return m_gauge->value();
}

} // namespace zol
