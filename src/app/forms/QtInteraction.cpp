#include "app/forms/QtInteraction.h"

#include "archive/forms/TDlgDPDbOnProgress.h"

#include <QApplication>
#include <QDesktopServices>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace zol {

QtInteraction::QtInteraction() = default;

QtInteraction::~QtInteraction()
{
    delete m_progress;
}

QWidget* QtInteraction::parentWidget() const
{
    return QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
}

int QtInteraction::message(const QString& title, const QString& text, Icon icon, int buttons, int defaultButton)
{
    QMessageBox box(parentWidget());
    box.setWindowTitle(title.isEmpty() ? QStringLiteral("ZOL") : title);
    box.setText(text);
    switch (icon) {
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Icon::None:
        break;
    }
    struct Choice
    {
        int button;
        const char* text;
        QMessageBox::ButtonRole role;
    };
    static const Choice choices[] = {
        {Yes, "Sì", QMessageBox::YesRole},
        {No, "No", QMessageBox::NoRole},
        {Ok, "OK", QMessageBox::AcceptRole},
        {Cancel, "Annulla", QMessageBox::RejectRole},
        {Abort, "Interrompi", QMessageBox::RejectRole},
        {Retry, "Riprova", QMessageBox::AcceptRole},
        {Ignore, "Ignora", QMessageBox::AcceptRole},
    };
    QList<QPair<QAbstractButton*, int>> added;
    for (const Choice& c : choices) {
        if (!(buttons & c.button))
            continue;
        QPushButton* b = box.addButton(QString::fromUtf8(c.text), c.role);
        added.append({b, c.button});
        if (c.button == defaultButton)
            box.setDefaultButton(b);
        if (c.button == No || c.button == Cancel)
            box.setEscapeButton(b);
    }
    if (added.isEmpty())
        added.append({box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole), Ok});
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    if (busy)
        QApplication::restoreOverrideCursor();
    for (const auto& a : added)
        if (a.first == box.clickedButton())
            return a.second;
    return defaultButton;
}

bool QtInteraction::inputBox(const QString& title, const QString& prompt, QString& value)
{
    bool ok = false;
    const QString v = QInputDialog::getText(parentWidget(), title, prompt, QLineEdit::Normal, value, &ok);
    if (ok)
        value = v;
    return ok;
}

int QtInteraction::choose(const QString& title, const QString& prompt, const QStringList& items)
{
    bool ok = false;
    const QString v = QInputDialog::getItem(parentWidget(), title, prompt, items, 0, false, &ok);
    return ok ? int(items.indexOf(v)) : -1;
}

void QtInteraction::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtInteraction::beginProgress(const QString& caption, const QString& label)
{
    if (!m_progress)
        m_progress = new TDlgDPDbOnProgress;
    m_progress->setCaption(caption);
    m_progress->setInfo(label);
    m_progress->setPercent(0);
    m_progress->show();
}

void QtInteraction::setProgress(const QString& label, int percent)
{
    if (!m_progress)
        return;
    m_progress->setInfo(label);
    m_progress->setPercent(percent);
}

void QtInteraction::endProgress()
{
    delete m_progress;
}

void QtInteraction::processEvents()
{
    QCoreApplication::processEvents();
}

bool QtInteraction::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

bool QtInteraction::previewReport(const ReportRequest& request)
{
    if (!reportPreviewer) {
        message(QString(), QStringLiteral("L'anteprima di stampa non è disponibile."), Icon::Warning, Ok, Ok);
        return false;
    }
    return reportPreviewer(request);
}

} // namespace zol
