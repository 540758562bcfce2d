#pragma once
// The program's forms: the frame first, then every dialog once, in a fixed order.

#include <string>
#include <vector>

namespace plotwell {

// Creates the 35 forms and sets their instance variables. The frame is the main form.
void CreateApplicationForms();
// Destroys them again (the program leaves this to the application's end; tests use it).
void DestroyApplicationForms();
// Class names of the forms in creation order, as created.
const std::vector<std::string>& CreatedFormClasses();

} // namespace plotwell
