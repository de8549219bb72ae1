# filled in by the art generator
