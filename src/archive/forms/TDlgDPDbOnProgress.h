#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

namespace zol {

// The small window shown while a damaged table is repaired on opening: caption, a bold label
// (LabInfo) and a percentage gauge (ProgressGauge). Centred, with no window buttons, not modal.
class TDlgDPDbOnProgress : public QDialog
{
    Q_OBJECT
public:
    explicit TDlgDPDbOnProgress(QWidget* parent = nullptr);
    void setCaption(const QString& caption);
    void setInfo(const QString& text);
    void setPercent(int percent);
    QString info() const;
    int percent() const;

private:
    QLabel* m_labInfo;
    QProgressBar* m_gauge;
};

} // namespace zol
