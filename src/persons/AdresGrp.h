#pragma once

#include "ui_AdresGrp.h"

#include <QGroupBox>

namespace katarix::persons {

// The address criteria both person searches share: place, postal code, street, house and flat
// number.
class TAdresGrp : public QGroupBox, public Ui::AdresGrp {
    Q_OBJECT
public:
    explicit TAdresGrp(QWidget *parent = nullptr);
};

} // namespace katarix::persons
