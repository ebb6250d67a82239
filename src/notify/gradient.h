#pragma once
// A two-colour linear gradient at any angle, drawn as one-pixel lines
// perpendicular to the gradient direction, each in its own colour.
// It paints onto a plain image so the result can be kept and read back.

#include <QImage>
#include <QtGlobal>
#include <vector>

namespace notify {

// Colours are 0x00BBGGRR: red in the lowest byte.
using ColorValue = quint32;

constexpr ColorValue RGB(int r, int g, int b) {
    return ColorValue(r & 0xFF) | (ColorValue(g & 0xFF) << 8) | (ColorValue(b & 0xFF) << 16);
}

class msnpopupGradient {
  public:
    // Fills the whole surface; true when at least one line was drawn.
    // A surface of 1 pixel or less in either direction is left alone.
    bool Draw(QImage& surface) const;

    // lSteps colours from lColor1 to lColor2 (at least 2). The step is the
    // difference over lSteps, so the last step is the larger one.
    static qint32 BlendColors(ColorValue lColor1, ColorValue lColor2, qint32 lSteps,
                              std::vector<ColorValue>& laRetColors);

    // A value with the top bit set and an index 0..24 in the low bits names a
    // system colour; it is resolved at once. Anything else is kept as given.
    void setColor1(ColorValue lData) { m_color1 = resolveColor(lData); }
    ColorValue Color1() const { return m_color1; }
    void setColor2(ColorValue lData) { m_color2 = resolveColor(lData); }
    ColorValue Color2() const { return m_color2; }

    // Degrees, kept in [0, 360): 0 left to right, 90 bottom to top,
    // 180 right to left, 270 top to bottom.
    void setAngle(float fData);
    float Angle() const { return m_angle; }

    static ColorValue resolveColor(ColorValue value);

  private:
    struct PointF {
        float x;
        float y;
    };
    qint32 GradientFill(QImage& surface, int W, int H) const;
    static void RotatePoint(const PointF& origin, PointF& point, double degrees);
    static double SafeDivide(double a, double b) { return b == 0 ? 0.0 : a / b; }

    ColorValue m_color1 = RGB(208, 255, 255);
    ColorValue m_color2 = RGB(0, 0, 64);
    float m_angle = 315.0f;
};

} // namespace notify
