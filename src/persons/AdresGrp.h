#pragma once

#include <QGroupBox>

#include <memory>

class QLineEdit;

namespace Ui {
class AdresGrp;
}

namespace katarix::widgets {
class LookupCombo;
}

namespace katarix::persons {

// The address criteria both person searches share: place, postal code, street, house and flat
// number. Laid out in the Designer form AdresGrp.ui (a private ui); the searches reach its fields
// through the accessors below.
class TAdresGrp : public QGroupBox {
    Q_OBJECT
public:
    explicit TAdresGrp(QWidget *parent = nullptr);
    ~TAdresGrp() override;

    widgets::LookupCombo *miejscowosc() const; // MiejscowoscLcbx
    widgets::LookupCombo *ulica() const;       // UlicaLcbx
    QLineEdit *kod() const;                    // KodMsk
    QLineEdit *numer() const;                  // NumerEdt
    QLineEdit *numer2() const;                 // Numer2Edt

private:
    std::unique_ptr<Ui::AdresGrp> ui;
};

} // namespace katarix::persons
