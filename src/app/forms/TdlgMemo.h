#pragma once

#include <QDialog>

namespace zol {

// "Storico delle versioni": what changed in each version of the program.
class TdlgMemo : public QDialog
{
    Q_OBJECT
public:
    explicit TdlgMemo(QWidget* parent = nullptr);

    // The history as formatted text.
    static QString history();
};

} // namespace zol
