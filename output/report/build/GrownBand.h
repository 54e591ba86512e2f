#pragma once
// A band with the stretch option (boStretch) for the record being printed: each text box is
// as tall as its lines need (never shorter than designed), every object below a box that grew
// moves down by as much, and the band is as tall as what it then holds (never shorter than
// designed). A band too tall for
// the room left on a page is printed in pieces cut between lines of text.

#include "output/report/build/ObjectRenderer.h"

#include <vector>

class TqnView;

struct GrownObject {
    const TqnView *view = nullptr;
    double top = 0;       // from the band's top, after the boxes above it grew
    double height = 0;    // grown
    ObjectRenderer::Laid text;   // a text box's lines

    double lineTop(int line) const { return top + ObjectRenderer::kPadding + line * text->lineHeight; }
};

struct GrownBand {
    std::vector<GrownObject> objects;
    double height = 0;

    // Lays out the band's objects (`bandY`: the band's top on the designed page). Throws the
    // expression errors of their texts, with `failing` pointing at the object laid out.
    static GrownBand grow(int bandY, int bandHeight, const std::vector<const TqnView *> &objects,
                          ObjectRenderer &renderer, const TqnView *&failing);

    // Where the piece that starts at `from` ends when `room` is left on the page: the whole
    // rest when it fits, otherwise the last line boundary of any text that crosses the page's
    // end, or the top of another object that does. When not even that leaves anything on the
    // page, the piece is cut where the room ends.
    double cutBefore(double from, double room) const;
};
