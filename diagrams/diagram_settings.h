#pragma once
// What the diagrams read besides the model: the page sizes of the windows'
// images, the view state (pan and zoom) and the four options of the
// configuration dialog. The windows own one of these; the batch program and
// the tests use the start values.

namespace kalvoro {

struct DiagramSettings {
    // Pages: the main window's moment and shear images and the influence-line image.
    int momentWidth = 501;
    int momentHeight = 278;
    int shearWidth = 501;
    int shearHeight = 278;
    int influenceWidth = 534;
    int influenceHeight = 288;

    // View state: pan in pixels (-500..500), zoom in percent (0..200). A
    // beam of the supported road, which may be long, goes further (see the
    // main window's pan and zoom).
    int DeslocamentoDesenho = 0;
    double ZoomDesenho = 100.0;

    // Options: span numbers and their font height, loads and their font height.
    bool CheckBox1 = true;
    int UpDown7 = 15;
    bool CheckBox2 = true;
    int UpDown1 = 20;
};

// The zoom of the values across the beam: beyond 200 % (where only a beam of
// the supported road goes) the zoom stretches the beam lengthwise alone, and
// the diagram takes the height it has at 100 %, whole on the page.
inline constexpr double FullZoom = 200.0;
inline double VerticalZoom(const DiagramSettings& s)
{
    return s.ZoomDesenho > FullZoom ? 100.0 : s.ZoomDesenho;
}

}  // namespace kalvoro
