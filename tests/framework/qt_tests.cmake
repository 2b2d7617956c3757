# Widget tests of the framework, on Qt's offscreen platform.
