#pragma once

namespace zorvi {

// Decides when the operator hears that saves of one kind (the game, the settings) fail.
// A failure is told once; a successful save afterwards arms the notice again, so a disk
// that recovers and then fails anew is told again. While a notice is being shown no
// second one is started, however many saves fail inside its message loop.
class SaveFailureNotice {
public:
    SaveFailureNotice() = default;
    virtual ~SaveFailureNotice() = default;

    // The result of one save; true when the caller is to tell the operator now. The caller
    // then calls Closed() once the message has been answered.
    bool Report(bool saved);
    void Closed() { showing_ = false; }

    bool showing() const { return showing_; }

private:
    bool armed_ = true;
    bool showing_ = false;
};

} // namespace zorvi
