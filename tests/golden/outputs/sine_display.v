// QIRO 2.3c
// examples/sine_display.sch

module sine_display( display11,display12,display13,display14,display15,display16,display17,display18);
 output display11,display12,display13,display14,display15,display16,display17,display18;
endmodule

// Simulation parameters
Verilog description written in "-"
