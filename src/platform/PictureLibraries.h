#pragma once

// The picture libraries the screenshot viewer needs. Here the JPEG encoder
// (libjpeg-turbo) and the brightness change are built into VYRN, so they are always
// present and there is nothing to install; tests replace them to walk the offer.
class PictureLibraries {
public:
    virtual ~PictureLibraries() = default;
    virtual bool present() const { return true; }
    // Copies the libraries from the program folder into the place they are loaded
    // from; a failing copy is passed over.
    virtual void install() {}
};
