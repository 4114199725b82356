#pragma once
// A predicate over timeline events, used to search the queue around its
// play cursor ("the next note on track 2", "the last note 36 on track 5").
class cEvent;

class iEventMatch {
public:
    virtual ~iEventMatch() = default;
    virtual bool match(const cEvent* e) const = 0;
};
