#include "platform/formats/TaskDefinition.h"

#include <utility>

#include "platform/formats/XmlDocument.h"

namespace lsu::formats {

namespace {

Error damaged(std::string_view message) {
    return Error{ErrorKind::DamagedData, 0, std::string("task definition: ").append(message)};
}

constexpr std::pair<std::string_view, TaskTriggerKind> kTriggerKinds[] = {
    {"LogonTrigger", TaskTriggerKind::Logon}, {"BootTrigger", TaskTriggerKind::Boot},
    {"TimeTrigger", TaskTriggerKind::Time},   {"CalendarTrigger", TaskTriggerKind::Calendar},
    {"EventTrigger", TaskTriggerKind::Event}, {"RegistrationTrigger", TaskTriggerKind::Registration},
    {"IdleTrigger", TaskTriggerKind::Idle},   {"SessionStateChangeTrigger", TaskTriggerKind::SessionStateChange},
};

constexpr std::pair<std::string_view, TaskActionKind> kActionKinds[] = {
    {"Exec", TaskActionKind::Exec},
    {"ComHandler", TaskActionKind::ComHandler},
    {"SendEmail", TaskActionKind::SendEmail},
    {"ShowMessage", TaskActionKind::ShowMessage},
};

template <typename Kind, std::size_t N>
Kind kindOf(const XmlElement& element, const std::pair<std::string_view, Kind> (&kinds)[N], Kind other) {
    if (element.namespaceUri != kTaskNamespace) return other;
    for (const auto& [name, kind] : kinds) {
        if (element.localName == name) return kind;
    }
    return other;
}

std::string textOf(const XmlElement& parent, std::string_view name) {
    const XmlElement* child = parent.firstChild(kTaskNamespace, name);
    return child ? child->text : std::string();
}

// A boolean child element, or its schema default when it is absent.
Result<bool> flagOf(const XmlElement* parent, std::string_view name, bool absent) {
    const XmlElement* child = parent ? parent->firstChild(kTaskNamespace, name) : nullptr;
    if (!child) return absent;
    auto value = xmlBoolean(child->text);
    if (!value) return damaged(std::string(name) + " is \"" + child->text + "\", not a boolean");
    return *value;
}

Result<TaskAction> actionOf(const XmlElement& element) {
    TaskAction action;
    action.kind = kindOf(element, kActionKinds, TaskActionKind::Other);
    if (action.kind != TaskActionKind::Exec) return action;
    action.command = textOf(element, "Command");
    action.arguments = textOf(element, "Arguments");
    action.workingDirectory = textOf(element, "WorkingDirectory");
    if (xmlTrimmed(action.command).empty()) return damaged("an Exec action without a command");
    return action;
}

Result<TaskDefinition> taskOf(const Result<XmlElement>& root) {
    if (!root) return root.error();
    if (!root->is(kTaskNamespace, "Task")) return damaged("the document is not a task");
    TaskDefinition task;
    if (const XmlElement* registration = root->firstChild(kTaskNamespace, "RegistrationInfo")) {
        task.uri = textOf(*registration, "URI");
    }
    const XmlElement* settings = root->firstChild(kTaskNamespace, "Settings");
    auto enabled = flagOf(settings, "Enabled", true);
    auto hidden = flagOf(settings, "Hidden", false);
    if (!enabled) return enabled.error();
    if (!hidden) return hidden.error();
    task.enabled = *enabled;
    task.hidden = *hidden;
    if (const XmlElement* triggers = root->firstChild(kTaskNamespace, "Triggers")) {
        for (const XmlElement& element : triggers->children) {
            auto triggerEnabled = flagOf(&element, "Enabled", true);
            if (!triggerEnabled) return triggerEnabled.error();
            task.triggers.push_back({kindOf(element, kTriggerKinds, TaskTriggerKind::Other), *triggerEnabled});
        }
    }
    if (const XmlElement* actions = root->firstChild(kTaskNamespace, "Actions")) {
        for (const XmlElement& element : actions->children) {
            auto action = actionOf(element);
            if (!action) return action.error();
            task.actions.push_back(std::move(*action));
        }
    }
    return task;
}

}  // namespace

Result<TaskDefinition> readTaskDefinition(std::span<const std::uint8_t> bytes) { return taskOf(parseXml(bytes)); }

Result<TaskDefinition> readTaskDefinitionText(std::string_view xml) { return taskOf(parseXmlText(xml)); }

std::string execCommandLine(const TaskAction& action) {
    std::string_view program = xmlTrimmed(action.command);
    if (program.size() >= 2 && program.front() == '"' && program.back() == '"') {
        program = program.substr(1, program.size() - 2);
    }
    std::string line = "\"";
    line += program;
    line += "\"";
    if (!action.arguments.empty()) line += " " + action.arguments;
    return line;
}

std::optional<TaskLaunch> startupLaunchOf(const TaskDefinition& task) {
    TaskLaunch launch;
    for (const TaskTrigger& trigger : task.triggers) {
        if (!trigger.enabled) continue;
        launch.atLogon = launch.atLogon || trigger.kind == TaskTriggerKind::Logon;
        launch.atStartup = launch.atStartup || trigger.kind == TaskTriggerKind::Boot;
    }
    if (!launch.atLogon && !launch.atStartup) return std::nullopt;
    for (const TaskAction& action : task.actions) {
        if (action.kind != TaskActionKind::Exec) continue;
        launch.commandLine = execCommandLine(action);
        return launch;
    }
    return std::nullopt;
}

}  // namespace lsu::formats
