// Found before Qt's own header only when compiling src/core.
#error "src/core must build without Qt Widgets and Qt PrintSupport: move this code to src/ui"
