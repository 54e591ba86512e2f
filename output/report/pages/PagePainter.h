#pragma once
// Draws a prepared page. The preview, the printer and the PDF file all draw through this one
// painter, so what the preview shows is what prints.

#include "output/report/pages/PreparedPage.h"

class QPainter;
class TextShapes;

class PagePainter final {
public:
    // Draws `page` with its top-left corner at the painter's origin, one layout pixel being
    // `scale` device pixels.
    static void paint(QPainter &painter, const PreparedPage &page, double scale);
    // The same, the texts drawn through `shapes`, which keeps their shaping from page to page
    // of one device.
    static void paint(QPainter &painter, const PreparedPage &page, double scale, TextShapes &shapes);
};
