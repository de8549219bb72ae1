/* freetype_modules.h: the FreeType modules the browser's build registers.
 * The game reads one TrueType font and renders it anti-aliased, so the other
 * font formats' drivers and the other renderers stay out of the program the
 * page downloads and compiles on every first visit. The library's build
 * includes this file first in every source (-include), where it names
 * itself as the module list; FreeType's ftinit.c then includes it again,
 * with FT_USE_MODULE defined, to register what it lists. */
#ifndef FT_USE_MODULE
#define FT_CONFIG_MODULES_H <freetype_modules.h>
#else
FT_USE_MODULE( FT_Module_Class, autofit_module_class )
FT_USE_MODULE( FT_Driver_ClassRec, tt_driver_class )
FT_USE_MODULE( FT_Module_Class, sfnt_module_class )
FT_USE_MODULE( FT_Renderer_Class, ft_smooth_renderer_class )
#endif
