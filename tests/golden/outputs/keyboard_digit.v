// QIRO 2.3c
// examples/keyboard_digit.sch

module keyboard_digit( kbd11,kbd12,kbd13,kbd14,digit11,digit12,digit13,digit14);
 input kbd11,kbd12,kbd13,kbd14;
 output digit11,digit12,digit13,digit14;
endmodule

// Simulation parameters
Verilog description written in "-"
