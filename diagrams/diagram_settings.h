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

    // View state: pan in pixels (-500..500), zoom in percent (0..200).
    int DeslocamentoDesenho = 0;
    double ZoomDesenho = 100.0;

    // Options: span numbers and their font height, loads and their font height.
    bool CheckBox1 = true;
    int UpDown7 = 15;
    bool CheckBox2 = true;
    int UpDown1 = 20;
};

}  // namespace kalvoro
