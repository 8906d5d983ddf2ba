#pragma once

namespace slidemill {

// Where other programs find the automation object on the session bus.
inline constexpr const char* kAutomationService = "org.slidemill.Slidemill";
inline constexpr const char* kAutomationObjectPath = "/Slidemill";
inline constexpr const char* kAutomationInterface = "org.slidemill.Automation";

} // namespace slidemill
