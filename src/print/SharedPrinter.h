#pragma once
// The printer that the print dialog sets up and the printed pages go to.
class QPrinter;

QPrinter &SharedPrinter();
