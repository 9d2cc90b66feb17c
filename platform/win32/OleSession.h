#pragma once

// OLE initialised on the calling thread for the holder's life (the shell's handlers may need
// it). Paired only when it succeeded: a thread that the host already set up for a different
// concurrency model keeps its own setting.
class OleSession {
  public:
    OleSession();
    ~OleSession();
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

    bool isActive() const { return active_; }

  private:
    bool active_;
};
