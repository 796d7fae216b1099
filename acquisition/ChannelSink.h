#pragma once
// What the acquisition session needs of a channel: the plot's channels implement it, and so do
// the headless recorder's stores and the tests' fakes. Called on the owner's thread only.

namespace ondrix {

class ChannelSink {
public:
    virtual ~ChannelSink() = default;
    virtual void Clear() = 0;
    // Appends one point; points are kept in call order.
    virtual void AddXY(double x, double y) = 0;
    // Appends a Null point at x: the trace breaks there instead of bridging a gap in the data.
    virtual void AddNull(double x) = 0;
    virtual bool Visible() const = 0;
    virtual void SetVisible(bool visible) = 0;
};

}  // namespace ondrix
