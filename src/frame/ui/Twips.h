#pragma once
// The window layouts give places and sizes in twips (1/1440 inch); on screen a
// pixel stands for fifteen of them, whatever the screen's resolution.
#include <QRect>
#include <QSize>

inline constexpr int kTwipsPerPixel = 15;

constexpr int TwipsToPixels(int twips)
{
    return twips / kTwipsPerPixel;
}

constexpr int PixelsToTwips(int pixels)
{
    return pixels * kTwipsPerPixel;
}

// A control's place; each side is converted on its own, as the layouts were drawn.
constexpr QRect TwipsRect(int left, int top, int width, int height)
{
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

constexpr QSize TwipsSize(int width, int height)
{
    return QSize(TwipsToPixels(width), TwipsToPixels(height));
}
