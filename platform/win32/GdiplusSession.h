#pragma once

// GDI+ runs between GdiplusStartup and GdiplusShutdown, both on the library's own account and
// never from DllMain. Every user holds a session: the first one starts GDI+, the last one shuts
// it down. The open editor window holds one for its whole life, so the drawing it does meanwhile
// costs no further start-up.
class GdiplusSession {
  public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

    // False when GdiplusStartup failed: nothing may then call GDI+ on this session's account.
    bool isActive() const { return active_; }

  private:
    bool active_;
};
