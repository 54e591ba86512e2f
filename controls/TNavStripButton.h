#pragma once
// One flat picture button of the record navigator. Its operation runs when the mouse
// button is released over it; a repeating button also runs it while held (after a pause,
// then at a steady pace) as long as the pointer stays over it.

#include "controls/NavStripFace.h"
#include "controls/NavStripKinds.h"
#include "controls/NavStripPictures.h"

#include <QWidget>
#include <functional>
#include <memory>

class NavRepeatTimer;

class TNavStripButton final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRepeatPause = 400;
    static constexpr int kRepeatInterval = 100;

    TNavStripButton(TNavStripBtn kind, QWidget *parent);
    ~TNavStripButton() override;

    TNavStripBtn kind() const { return m_kind; }

    void setPictures(const NavStripPictureSet &pictures);
    const NavStripPictureSet &pictures() const { return m_pictures; }
    void setColors(const TNavStripColors &colors);
    void setFlat(bool flat);
    void setShaded(bool shaded);
    void setFocusFramed(bool framed);
    bool focusFramed() const { return m_focusFramed; }

    bool repeating() const { return m_repeating; }
    void setRepeating(bool repeating) { m_repeating = repeating; }
    NavRepeatTimer &repeatTimer() { return *m_repeatTimer; }
    void setRepeatTimer(std::unique_ptr<NavRepeatTimer> timer);

    // The pressed face shows: the mouse button is held and the pointer is over the button.
    bool isDown() const { return m_held && m_over; }
    bool isHot() const { return m_over && isEnabled(); }

    // What the button's click and press do; the strip decides.
    std::function<void()> onClick;
    std::function<void()> onPress;

    void click();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void repeatTick();
    void letGo();
    void setOver(bool over);
    const QPixmap &currentPicture() const;

    TNavStripBtn m_kind;
    NavStripPictureSet m_pictures;
    TNavStripColors m_colors;
    std::unique_ptr<NavRepeatTimer> m_repeatTimer;
    bool m_flat = true;
    bool m_shaded = true;
    bool m_focusFramed = false;
    bool m_repeating = false;
    bool m_held = false;   // the left button went down here and has not come up
    bool m_over = false;
};
