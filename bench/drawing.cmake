# filled in by the drawing module
