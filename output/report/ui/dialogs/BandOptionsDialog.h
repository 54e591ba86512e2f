#pragma once
// "Opzioni banda": the options a band of its kind honours (growing with its texts, a new page
// after it, repeating on every page, first page only), for the bands that have no record
// source or group condition to edit.

#include "output/report/model/TqnView.h"

#include <QDialog>
#include <vector>

class QCheckBox;

class BandOptionsDialog final : public QDialog {
    Q_OBJECT
public:
    explicit BandOptionsDialog(TqnBandView &band, QWidget *parent = nullptr);

    // Whether a band of `type` honours any option, and so has this dialog to show.
    static bool offered(TqnBandType type);
    // The check box of `option`, or null when the band's kind does not honour it.
    QCheckBox *box(quint16 option) const;
    void accept() override;

private:
    TqnBandView &m_band;
    std::vector<std::pair<quint16, QCheckBox *>> m_boxes;
};
