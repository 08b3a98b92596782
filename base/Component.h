#pragma once
// The root of the object model: named components that own other components. A component
// frees what it owns when it goes, so a form takes its controls, menus and dialogs with it.
#include <functional>
#include <string>
#include <vector>

class TObject {
public:
    virtual ~TObject() = default;
    virtual const char* ClassName() const { return "TObject"; }
};

using TNotifyEvent = std::function<void(TObject* sender)>;

class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const char* ClassName() const override { return "TComponent"; }

    // The designer name ("BitBtn8", "MainMenu1"); empty for components made at run time.
    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    // A number the program keeps with the component for its own use.
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(static_cast<size_t>(index)); }
    // Searches the components this one owns directly; nullptr when none has the name.
    TComponent* FindComponent(const std::string& name) const;
    // Calls visit for every owned component and, depth first, for what those own.
    void ForEachComponent(const std::function<void(TComponent*)>& visit) const;

    // Destroys the component: BeforeDestruction runs while the object is still whole (so
    // handlers and virtual overrides see it intact), then it is deleted.
    void Free();
    bool Destroying() const { return destroying_; }

protected:
    // Work that needs the complete object before it is destroyed. Overrides call the base.
    virtual void BeforeDestruction();
    void DestroyComponents();

private:
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);

    std::string name_;
    int tag_ = 0;
    TComponent* owner_;
    std::vector<TComponent*> components_;
    bool destroying_ = false;
};
