// The model's view of a progress bar: long recomputes report through it.
#pragma once

class ProgressSink {
  public:
    virtual ~ProgressSink() = default;
    virtual void Show(int maximum, int position, int step) = 0;
    virtual void Step() = 0;
    virtual void Hide() = 0;
};
