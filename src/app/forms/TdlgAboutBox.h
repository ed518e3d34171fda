#pragma once

#include <QDialog>

class QLabel;

namespace zol {

// The about box "Informazioni sul prodotto": the product's name, what it is for and its
// version. At start the same box is the splash window, shown while the archive opens; then it
// has no "Chiudi finestra", as the main window frees it.
class TdlgAboutBox : public QDialog
{
    Q_OBJECT
public:
    enum class Mode { About, Splash };
    explicit TdlgAboutBox(QWidget* parent = nullptr, Mode mode = Mode::About);

    QLabel* ver() const { return m_ver; }
    void setVersion(const QString& text);

public slots:
    void lChiudiClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* m_ver = nullptr;
    QLabel* m_chiudi = nullptr;
};

// The version text of the splash and of the about box.
QString versionText();

} // namespace zol
