#pragma once
// Paper layout of a report: 58 lines a page, form feeds end pages, a footer
// with the file name on the left and the page number on the right.
#include <string>
#include <string_view>
#include <vector>

namespace crv::viewers {

struct PrintedPage {
    int number = 0;                  // from 1, counting printed pages
    std::vector<std::string> lines;  // at most 58
};

// Printed pages fromPage..toPage (numbers of printed pages, not screen
// pages). Pages before fromPage are skipped, reading stops past toPage.
std::vector<PrintedPage> printedPages(std::string_view text, int fromPage, int toPage);

// Footer texts: " File:  name" at the left, "Page n " ending at the right margin.
std::string footerHeader(const std::string& fileName);
std::string footerPage(int number);

// Printer geometry in device units, worked out from the paper and its
// unprintable edge: 0.85 inch side margins and 1 inch top and bottom, never
// inside the unprintable edge.
struct PrintGeometry {
    int left = 0, right = 0, top = 0, lineHeight = 0, footerY = 0;
};
PrintGeometry printGeometry(double dpiX, double dpiY, double pageWidth, double pageHeight,
                            double offX, double offY);

}  // namespace crv::viewers
