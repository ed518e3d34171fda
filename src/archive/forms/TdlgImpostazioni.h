#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QStandardItemModel;

namespace zol {

class Tdm;

// The Ente's data: municipality, postal code, cadastral code, province, denomination, address,
// fiscal code, telephone, fax, e-mail and person in charge. Shows dm.EnteSettings when it
// opens; "Salva" checks the fields and copies them into dm.EnteSettings, "Annulla" leaves it
// as it was. The file is written when the program ends.
class TdlgImpostazioni : public QDialog
{
    Q_OBJECT
public:
    explicit TdlgImpostazioni(Tdm& dm, QWidget* parent = nullptr);

    // The problems of the fields, one per line, in the order they are checked; empty when none.
    QString problems() const;

    // The municipality list (NOME, PROV, CAP, CODICE per row), for the list and its completer.
    QStandardItemModel* comuniModel() const { return m_comuni; }

public slots:
    // A municipality was chosen in ecitta: its postal code, code and province fill their
    // fields, and the denomination when it is still empty.
    void dxLookupEdit1CloseUp();
    void bSalvaConfClick();
    void bAnnullaConfClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void loadComuni();
    int comuneRow(const QString& name) const;
    QLineEdit* addEdit(const char* name, int maxLength);

    Tdm& m_dm;
    QStandardItemModel* m_comuni = nullptr;
    QComboBox* ecitta = nullptr;
    QLineEdit* ecap = nullptr;
    QLineEdit* eBelf = nullptr;
    QLineEdit* eprov = nullptr;
    QLineEdit* edenom = nullptr;
    QLineEdit* eindirizzo = nullptr;
    QLineEdit* ecodfisc = nullptr;
    QLineEdit* etel = nullptr;
    QLineEdit* efax = nullptr;
    QLineEdit* eemail = nullptr;
    QLineEdit* eresp = nullptr;
    QPushButton* bSalvaConf = nullptr;
    QPushButton* bAnnullaConf = nullptr;
    bool m_shown = false;
};

} // namespace zol
