#pragma once
// A named look of a widget: a list of timed changes of its properties
// (transparency, offset, colour, a sprite's scale). Applying the state starts
// the changes as transitions, or, forcibly, jumps each to its end value.

#include <memory>
#include <string>
#include <vector>

#include "color.h"
#include "vector2.h"

namespace VQ {

class UIWidget;

class UIState {
public:
    class IPropertyChange {
    public:
        explicit IPropertyChange(UIWidget* widget) : widget(widget) {}
        virtual ~IPropertyChange() = default;
        virtual void update(float dt) = 0;
        // Runs the transition again from the property's present value.
        virtual void start() = 0;
        // Writes the end value at once.
        virtual void finish() = 0;

        UIWidget* widget;  // not owned: the widget whose property changes
    };

    // One timed change of a property of type T (float, Vector2f or Color).
    // Each step covers dt / remaining of the distance that is left, so the
    // curve eases out and lands exactly on `value`.
    template <typename T>
    class PropertyChange : public IPropertyChange {
    public:
        PropertyChange(UIWidget* widget, T* target, float duration, const T& value) :
            IPropertyChange(widget), duration(duration), target(target), value(value)
        {
        }

        void update(float dt) override;
        void start() override
        {
            active = true;
            elapsed = 0.0f;
        }
        void finish() override
        {
            *target = value;
            active = false;
        }

        float duration;
        float elapsed = 0.0f;
        bool active = true;
        T* target;  // a field of `widget`
        T value;
    };

    explicit UIState(std::string name) : name(std::move(name)) {}

    void add(std::unique_ptr<IPropertyChange> change) { changes.push_back(std::move(change)); }

    std::string name;
    std::vector<std::unique_ptr<IPropertyChange>> changes;
};

// One step of a colour channel towards `to` by the fraction q / 255, never
// past it (public for the tests of the rounding).
uint8_t stepColorChannel(uint8_t from, uint8_t to, int q);

}  // namespace VQ
