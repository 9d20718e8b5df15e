#pragma once

namespace z5 {

// One element of the operator screen: a parameter or an alarm slot, 0..15.
struct ScreenElement {
    enum class Group { Parameter, Alarm };
    Group group = Group::Parameter;
    int slot = -1;

    static ScreenElement parameter(int k) { return {Group::Parameter, k}; }
    static ScreenElement alarm(int k) { return {Group::Alarm, k}; }
    bool isParameter() const { return group == Group::Parameter; }
    bool operator==(const ScreenElement &o) const { return group == o.group && slot == o.slot; }
    bool operator!=(const ScreenElement &o) const { return !(*this == o); }
};

// The designer control that shows an element; each has its own drag bounds.
enum class ControlKind { AlarmMarker, Level1Picture, Level2Picture, GaugePicture, NumberBox, AlarmText };

} // namespace z5
